" Vim syntax file
" Language: KZ C source file, C header file, Preprocessed C source file
" Files:   *.c *.h *.p
" Keyword groups of the KZ toolchain plug-in (keyword data version 1), written by vivo keywords --format vim.
if exists("b:current_syntax")
  finish
endif
let s:cpo_save = &cpo
set cpo&vim

syn case match
syn iskeyword @,48-57,_,192-255,35
syn keyword kzcGroup1 auto break case char const continue default do double else enum extern float for goto if inline int
syn keyword kzcGroup1 long register restrict return short signed sizeof static struct switch typedef union unsigned void
syn keyword kzcGroup1 volatile while
syn keyword kzcGroup2 _Alignas _Alignof _Atomic _Bool _Complex _Generic _Imaginary _Noreturn _Static_assert _Thread_local
syn keyword kzcGroup3 #define #elif #else #endif #error #if #ifdef #ifndef #include #line #pragma #undef defined _Pragma
syn keyword kzcGroup3 __FILE__ __LINE__ __DATE__ __TIME__ __STDC__ __STDC_VERSION__ __STDC_HOSTED__ __func__

hi def link kzcGroup1 Statement
hi def link kzcGroup2 Type
hi def link kzcGroup3 PreProc

let b:current_syntax = "kzc"
let &cpo = s:cpo_save
unlet s:cpo_save
