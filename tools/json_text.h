#pragma once
// JSON from the plug-in's 8-bit texts. Project files and build logs are not always UTF-8 (Japanese
// projects hold Shift_JIS), while JSON must be. A string that is not valid UTF-8 is written with one
// character per byte, each byte read as Latin-1 (U+0000 to U+00FF), and its JSON Pointer is listed
// in the document's top-level "latin1" array: a reader gets the original bytes back from such a
// string by taking each character as one byte. Strings not listed are the original bytes.

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace vivo::host {

using Json = nlohmann::ordered_json;

bool IsUtf8(std::string_view bytes);

// Each byte as the character U+00XX, in UTF-8.
std::string Latin1ToUtf8(std::string_view bytes);

// A JSON Pointer token for an object key or array index ("a/b" -> "a~1b").
std::string PointerToken(std::string_view key);

// Makes every string of `document` valid UTF-8 as described above and, when any was not, adds the
// "latin1" list to it (an object).
void MakeUtf8(Json& document);

// The document as text: `indent` blanks per level (-1: one line), a line break at the end.
std::string DumpJson(Json document, int indent = 2);

}  // namespace vivo::host
