" Vim syntax file
" Language: KZ C++ source file, C++ header file, Preprocessed C++ source file
" Files:   *.cpp *.cc *.cp *.hpp *.pp
" Keyword groups of the KZ toolchain plug-in (keyword data version 1), written by vivo keywords --format vim.
if exists("b:current_syntax")
  finish
endif
let s:cpo_save = &cpo
set cpo&vim

syn case match
syn iskeyword @,48-57,_,192-255,35
syn keyword kzcppGroup1 alignas alignof asm auto bool break case catch char char8_t char16_t char32_t class concept const
syn keyword kzcppGroup1 consteval constexpr constinit const_cast continue co_await co_return co_yield decltype default
syn keyword kzcppGroup1 delete do double dynamic_cast else enum explicit export extern false float for friend goto if inline
syn keyword kzcppGroup1 int long mutable namespace new noexcept nullptr operator private protected public register
syn keyword kzcppGroup1 reinterpret_cast requires return short signed sizeof static static_assert static_cast struct switch
syn keyword kzcppGroup1 template this thread_local throw true try typedef typeid typename union unsigned using virtual void
syn keyword kzcppGroup1 volatile wchar_t while
syn keyword kzcppGroup2 and and_eq bitand bitor compl not not_eq or or_eq xor xor_eq
syn keyword kzcppGroup3 final override import module
syn keyword kzcppGroup4 #define #elif #else #endif #error #if #ifdef #ifndef #include #line #pragma #undef defined _Pragma
syn keyword kzcppGroup4 __has_include __has_cpp_attribute __FILE__ __LINE__ __DATE__ __TIME__ __cplusplus __STDC_HOSTED__
syn keyword kzcppGroup4 __func__

hi def link kzcppGroup1 Statement
hi def link kzcppGroup2 Type
hi def link kzcppGroup3 PreProc
hi def link kzcppGroup4 Special

let b:current_syntax = "kzcpp"
let &cpo = s:cpo_save
unlet s:cpo_save
