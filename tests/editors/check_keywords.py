#!/usr/bin/env python3
"""The keyword files vivo writes, checked by the programs that load them, and the shipped copies.

For every keyword language the plug-in gives (`vivo keywords --format json`): its TextMate grammar is
loaded by vscode-textmate on vscode-oniguruma (tokenize.js) and its Vim syntax file by Vim
(syntax_names.vim), both over samples/sample.ID followed by one line per keyword. Every word that is a
keyword must get exactly its group's scope and highlight group; every other word none. The files in
editors/ must equal what vivo writes now (--update rewrites them).

Usage: check_keywords.py VIVO PLUGIN SOURCE_ROOT WORK_DIR [--update]
"""
import json
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def vivo_output(vivo, plugin, *arguments):
    result = subprocess.run([vivo, "--plugin", plugin, "keywords", *arguments], capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit("vivo keywords %s: exit %d: %s" % (" ".join(arguments), result.returncode, result.stderr))
    return result.stdout


def sample_text(language, keywords):
    with open(os.path.join(HERE, "samples", "sample." + language["id"])) as f:
        text = f.read()
    return text + "".join("ident_a %s ident_b\n" % word for word in keywords)


def words_of(text, word_pattern):
    """(line, column from 1, word) of every word of the text."""
    for number, line in enumerate(text.split("\n"), 1):
        for match in re.finditer(word_pattern, line):
            yield number, match.start() + 1, match.group()


def check_textmate(grammar_file, text_file, words, expected, scope_name):
    out = subprocess.run(["node", os.path.join(HERE, "tokenize.js"), grammar_file, text_file],
                         capture_output=True, text=True)
    if out.returncode != 0:
        return ["tokenize.js: " + out.stderr.strip()]
    tokens = {(t["line"], t["start"] + 1): t for t in json.loads(out.stdout)}
    at = {(line, column): word for line, column, word in words}
    failures = []
    for (line, column), token in tokens.items():
        # A scope beyond the grammar's own is given to keywords only, each whole.
        if token["scopes"][1:] and expected.get(at.get((line, column))) is None:
            failures.append("%d:%d %r is no keyword but got %s" % (line, column, token["text"], token["scopes"][1:]))
    for line, column, word in words:
        want = expected.get(word)
        token = tokens.get((line, column))
        if want and (token is None or token["text"] != word or token["scopes"] != [scope_name, want["textMateScope"]]):
            failures.append("%d:%d %s: want %s, got %s" % (line, column, word, want["textMateScope"], token))
    return failures


def check_vim(syntax_file, text_file, word_pattern, expected, work):
    out_file = os.path.join(work, os.path.basename(syntax_file) + ".names")
    vim_pattern = word_pattern.replace("+", "\\+")
    subprocess.run(["vim", "-Nu", "NONE", "-es", "--cmd", "let g:syntax_file = '%s'" % syntax_file,
                    "--cmd", "let g:word = '%s'" % vim_pattern, "--cmd", "let g:out_file = '%s'" % out_file,
                    "-S", os.path.join(HERE, "syntax_names.vim"), text_file], stdin=subprocess.DEVNULL, timeout=60)
    failures, count = [], 0
    with open(out_file) as f:
        for row in f.read().splitlines():
            line, column, word, name = row.split("\t")
            want = expected.get(word)
            count += 1
            if name != (want["vimGroup"] if want else ""):
                failures.append("%s:%s %s: want %r, got %r" % (line, column, word, want and want["vimGroup"], name))
    return failures, count


def main():
    vivo, plugin, root, work = sys.argv[1:5]
    update = "--update" in sys.argv[5:]
    os.makedirs(work, exist_ok=True)
    data = json.loads(vivo_output(vivo, plugin, "--format", "json"))
    failed = 0
    for language in data["languages"]:
        expected = {word: group for group in language["groups"] for word in group["keywords"]}
        punctuation = sorted({c for word in expected for c in word if not (c.isalnum() or c == "_")})
        word_pattern = "[A-Za-z0-9_" + "".join(re.escape(c) for c in punctuation) + "]+"
        first_type = language["fileTypes"][0]["description"]
        text = sample_text(language, list(expected))
        text_file = os.path.join(work, "sample." + language["id"])
        with open(text_file, "w") as f:
            f.write(text)
        words = list(words_of(text, word_pattern))

        files = {os.path.join("editors", "vscode", "kz-%s.tmLanguage.json" % language["id"]): "textmate",
                 os.path.join("editors", "vim", "syntax", language["vimSyntax"] + ".vim"): "vim"}
        failures = []
        for shipped, form in files.items():
            written = vivo_output(vivo, plugin, "--format", form, first_type)
            generated = os.path.join(work, os.path.basename(shipped))
            with open(generated, "w") as f:
                f.write(written)
            target = os.path.join(root, shipped)
            if update:
                os.makedirs(os.path.dirname(target), exist_ok=True)
                with open(target, "w") as f:
                    f.write(written)
            elif not os.path.exists(target) or open(target).read() != written:
                failures.append("%s is not what vivo keywords --format %s writes now (run with --update)" % (shipped, form))
            if form == "textmate":
                failures += check_textmate(generated, text_file, words, expected, language["scopeName"])
            else:
                vim_failures, vim_words = check_vim(generated, text_file, word_pattern, expected, work)
                failures += vim_failures
                if vim_words != len(words):
                    failures.append("Vim saw %d words, the check %d" % (vim_words, len(words)))
        keywords = sum(1 for w in words if w[2] in expected)
        print("%-4s %d groups, %d keywords: %d keyword and %d other words checked in TextMate and Vim, %d failures" % (
            language["id"], len(language["groups"]), len(expected), keywords, len(words) - keywords, len(failures)))
        for failure in failures:
            print("  FAILED: " + failure)
        failed += len(failures)
    return 1 if failed or not data["languages"] else 0


if __name__ == "__main__":
    sys.exit(main())
