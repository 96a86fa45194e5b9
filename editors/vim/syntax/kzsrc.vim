" Vim syntax file
" Language: KZ Assembly source file, Assembly include file
" Files:   *.src *.s *.inc
" Keyword groups of the KZ toolchain plug-in (keyword data version 1), written by vivo keywords --format vim.
if exists("b:current_syntax")
  finish
endif
let s:cpo_save = &cpo
set cpo&vim

syn case match
syn iskeyword @,48-57,_,192-255,46
syn keyword kzsrcGroup1 .SECTION .ORG .ALIGN .END .EQU .ASSIGN .DEFINE .GLB .EXPORT .IMPORT .INCLUDE .BYTE .WORD .LWORD
syn keyword kzsrcGroup1 .FLOAT .DOUBLE .BLKB .BLKW .BLKL .BLKF .BLKD .ADDR .STRING .FILLB .FILLW .FILLL .ENDIAN .CPU .STACK
syn keyword kzsrcGroup1 .OPTJ .SYMBOL
syn keyword kzsrcGroup2 .IF .ELIF .ELSE .ENDIF .IFDEF .IFNDEF .MACRO .ENDM .EXITM .LOCAL .REPEAT .ENDR .WHILE .ENDW .ASSERT
syn keyword kzsrcGroup2 .ERROR .WARNING
syn keyword kzsrcGroup3 .LIST .NOLIST .PAGE .FORM .HEADING .SPACE .LINE .FILE .DEBUG .NODEBUG .SIZEOF .STARTOF .TOPOF .HIGH
syn keyword kzsrcGroup3 .LOW
syn keyword kzsrcGroup4 R0 R1 R2 R3 R4 R5 R6 R7 R8 R9 R10 R11 R12 R13 R14 R15 SP USP ISP PC PSW BPC BPSW FINTV FPSW INTB
syn keyword kzsrcGroup4 EXTB ACC0 ACC1

hi def link kzsrcGroup1 Statement
hi def link kzsrcGroup2 Type
hi def link kzsrcGroup3 PreProc
hi def link kzsrcGroup4 Special

let b:current_syntax = "kzsrc"
let &cpo = s:cpo_save
unlet s:cpo_save
