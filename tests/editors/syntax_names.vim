" Writes, for every word of the buffer, its line, column, text and the name of the syntax group Vim
" gives it (empty for none), one tab-separated line each. Run as:
"   vim -Nu NONE -es --cmd "let g:syntax_file = 'kzc.vim'" --cmd "let g:word = '[A-Za-z0-9_#]\+'"
"       --cmd "let g:out_file = 'names.txt'" -S syntax_names.vim SAMPLE
syntax on
" Only the file under test: not the syntax Vim picked for the sample by its name.
syntax clear
unlet! b:current_syntax
execute 'source ' . fnameescape(g:syntax_file)
let s:names = []
for s:lnum in range(1, line('$'))
  let s:text = getline(s:lnum)
  let s:found = matchstrpos(s:text, g:word, 0)
  while s:found[1] >= 0
    let s:name = synIDattr(synID(s:lnum, s:found[1] + 1, 1), 'name')
    call add(s:names, s:lnum . "\t" . (s:found[1] + 1) . "\t" . s:found[0] . "\t" . s:name)
    let s:found = matchstrpos(s:text, g:word, s:found[2])
  endwhile
endfor
call writefile(s:names, g:out_file)
qall!
