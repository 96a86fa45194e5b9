// Tokenises a file with a TextMate grammar the way VS Code does (vscode-textmate on the Oniguruma
// engine compiled to WebAssembly) and prints every token as JSON: line, start, end, text, scopes.
// Usage: node tokenize.js GRAMMAR.json FILE
'use strict';
const fs = require('fs');
const path = require('path');
const oniguruma = require('vscode-oniguruma');
const textmate = require('vscode-textmate');

async function main() {
  const [grammarFile, textFile] = process.argv.slice(2);
  const wasm = fs.readFileSync(path.join(__dirname, 'node_modules/vscode-oniguruma/release/onig.wasm'));
  await oniguruma.loadWASM(wasm.buffer.slice(wasm.byteOffset, wasm.byteOffset + wasm.byteLength));
  const grammarText = fs.readFileSync(grammarFile, 'utf8');
  const scopeName = JSON.parse(grammarText).scopeName;
  const registry = new textmate.Registry({
    onigLib: Promise.resolve({
      createOnigScanner: (sources) => new oniguruma.OnigScanner(sources),
      createOnigString: (text) => new oniguruma.OnigString(text),
    }),
    loadGrammar: async (name) => (name === scopeName ? textmate.parseRawGrammar(grammarText, grammarFile) : null),
  });
  const grammar = await registry.loadGrammar(scopeName);
  if (!grammar) throw new Error(`no grammar ${scopeName} in ${grammarFile}`);
  const tokens = [];
  let state = textmate.INITIAL;
  fs.readFileSync(textFile, 'utf8').split('\n').forEach((line, index) => {
    const result = grammar.tokenizeLine(line, state);
    for (const token of result.tokens) {
      tokens.push({line: index + 1, start: token.startIndex, end: token.endIndex,
                   text: line.slice(token.startIndex, token.endIndex), scopes: token.scopes});
    }
    state = result.ruleStack;
  });
  process.stdout.write(JSON.stringify(tokens) + '\n');
}

main().catch((error) => { console.error(`tokenize.js: ${error.message}`); process.exit(2); });
