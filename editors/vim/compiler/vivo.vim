" Vim compiler file
" Compiler:	KZ toolchain builds read through `vivo classify` (FILE:LINE: error: MESSAGE [CODE])
" Use:		:compiler vivo, then :make (makeprg runs make and pipes its output through vivo classify)

if exists("current_compiler")
  finish
endif
let current_compiler = "vivo"

if exists(":CompilerSet") != 2
  command -nargs=* CompilerSet setlocal <args>
endif

let s:cpo_save = &cpo
set cpo&vim

CompilerSet makeprg=make\ $*\ 2>&1\ \\\|\ vivo\ classify
" Diagnostics without a file ("warning: Cannot find ... [L1100]") and the count line stay in the
" quickfix list as text.
CompilerSet errorformat=%f:%l:\ fatal\ %trror:\ %m,%f:%l:\ %trror:\ %m,%f:%l:\ %tarning:\ %m,%f:%l:\ %tote:\ %m

let &cpo = s:cpo_save
unlet s:cpo_save
