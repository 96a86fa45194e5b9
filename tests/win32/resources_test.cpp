// The Windows resources as the system reads them: the string tables of Vivo.dll, ResVivo.dll and
// ResVivoJp.dll hold the texts of strings.inc (and strings_jp.inc) byte for byte, and dialog 157 of
// each is the dialog table's template.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "resources/report_dialog.h"
#include "support/plugin.h"

namespace vivo::test {
namespace {

namespace res = vivo::resources;

struct Row { std::uint32_t id; std::string_view text; };

#define VIVO_STRING(id, text) Row{id, std::string_view{text, sizeof(text) - 1}},
#define VIVO_DIALOG_TEXT(control, text)
constexpr std::array kEnglish = {
#include "resources/strings.inc"
};
constexpr std::array kJapanese = {
#include "resources/strings_jp.inc"
};
#undef VIVO_STRING
#undef VIVO_DIALOG_TEXT

#define VIVO_STRING(id, text)
#define VIVO_DIALOG_TEXT(control, text) Row{control, std::string_view{text, sizeof(text) - 1}},
constexpr std::array kJapaneseDialog = {
#include "resources/strings_jp.inc"
};
#undef VIVO_STRING
#undef VIVO_DIALOG_TEXT

std::wstring Utf16(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                         static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                        wide.data(), size);
    return wide;
}

// The text of string `id` exactly as stored (UTF-16), without going through the ANSI code page.
std::wstring StoredString(HMODULE module, std::uint32_t id) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

// A built file loaded for its resources only.
struct Module {
    explicit Module(const char* name)
        : handle(LoadLibraryExW((BuiltPluginFile().parent_path() / name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~Module() { if (handle != nullptr) FreeLibrary(handle); }
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    HMODULE handle;
};

TEST(WindowsResources, StringTablesHoldTheTextsOfTheOneSource) {
    // The Japanese file has every English string its own table does not replace; the others have none of its own.
    std::map<std::uint32_t, std::string_view> english, japanese;
    for (const Row& row : kEnglish) english[row.id] = japanese[row.id] = row.text;
    for (const Row& row : kJapanese) japanese[row.id] = row.text;
    for (const char* file : {"Vivo.dll", "ResVivo.dll", "ResVivoJp.dll"}) {
        SCOPED_TRACE(file);
        const Module module(file);
        ASSERT_NE(module.handle, nullptr);
        const auto& expected = std::strcmp(file, "ResVivoJp.dll") == 0 ? japanese : english;
        for (const auto& [id, text] : japanese) {
            SCOPED_TRACE(id);
            const auto own = expected.find(id);
            EXPECT_TRUE(StoredString(module.handle, id) == Utf16(own != expected.end() ? own->second : ""));
        }
    }
}

// Styles every control of a dialog template has, and those of each kind of the dialog table.
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
// Class atoms: 0x80 button, 0x81 edit, 0x82 static.
struct KindRow { res::ControlKind kind; WORD windowClass; DWORD style; };
constexpr std::array kKinds = {
    KindRow{res::ControlKind::kDefaultPushButton, 0x80, BS_DEFPUSHBUTTON | WS_TABSTOP},
    KindRow{res::ControlKind::kStaticText, 0x82, SS_LEFT | WS_GROUP},
    KindRow{res::ControlKind::kReadOnlyEdit, 0x81,
            ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_WANTRETURN | WS_BORDER | WS_VSCROLL |
                WS_HSCROLL | WS_TABSTOP},
    KindRow{res::ControlKind::kAutoCheckBox, 0x80, BS_AUTOCHECKBOX | WS_TABSTOP},
};

// Reads a DLGTEMPLATEEX in order.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* data) : at_(data) {}
    WORD Word() { return Take<WORD>(); }
    DWORD Dword() { return Take<DWORD>(); }
    short Short() { return Take<short>(); }
    // A text or ordinal field: 0 none, 0xFFFF ordinal, else NUL-ended UTF-16.
    std::wstring Text() {
        std::wstring text;
        for (WORD c = Word(); c != 0; c = Word()) text.push_back(static_cast<wchar_t>(c));
        return text;
    }
    WORD OrdinalOrZero() {
        const WORD first = Word();
        if (first == 0xFFFF) return Word();
        EXPECT_EQ(first, 0) << "a named class or menu where the template has none";
        return 0;
    }
    void AlignDword() { at_ += (4 - reinterpret_cast<std::uintptr_t>(at_) % 4) % 4; }
    void Skip(std::size_t bytes) { at_ += bytes; }

private:
    template <class T>
    T Take() {
        T value;
        std::memcpy(&value, at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    const BYTE* at_;
};

// Template 157 of `module` with the texts `caption` and `controlText(id)`.
void ExpectReportTemplate(HMODULE module, const std::wstring& caption,
                          const std::map<WORD, std::wstring>& controlTexts) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(res::kReportDialogId), MAKEINTRESOURCEW(5));
    ASSERT_NE(found, nullptr);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(data, nullptr);
    TemplateReader reader(data);

    EXPECT_EQ(reader.Word(), 1);       // dlgVer
    EXPECT_EQ(reader.Word(), 0xFFFF);  // extended template
    EXPECT_EQ(reader.Dword(), 0u);     // helpID
    EXPECT_EQ(reader.Dword(), static_cast<DWORD>(WS_EX_CONTEXTHELP));
    const DWORD style = reader.Dword();
    EXPECT_EQ(style, static_cast<DWORD>(DS_MODALFRAME | WS_POPUP | WS_CAPTION | DS_SETFONT));
    EXPECT_EQ(style & WS_SYSMENU, 0u);
    ASSERT_EQ(reader.Word(), res::kReportDialogControls.size());
    EXPECT_EQ(reader.Short(), 0);
    EXPECT_EQ(reader.Short(), 0);
    EXPECT_EQ(reader.Short(), res::kReportDialog.width);
    EXPECT_EQ(reader.Short(), res::kReportDialog.height);
    EXPECT_EQ(reader.OrdinalOrZero(), 0);  // menu
    EXPECT_EQ(reader.OrdinalOrZero(), 0);  // class
    EXPECT_TRUE(reader.Text() == caption);
    EXPECT_EQ(reader.Word(), res::kReportDialog.fontPoints);
    reader.Word();  // weight
    reader.Skip(2);  // italic, charset
    EXPECT_TRUE(reader.Text() == Utf16(res::kReportDialog.fontName));

    for (const res::DialogControl& control : res::kReportDialogControls) {
        SCOPED_TRACE(control.id);
        reader.AlignDword();
        EXPECT_EQ(reader.Dword(), 0u);  // helpID
        EXPECT_EQ(reader.Dword(), 0u);  // exStyle
        const DWORD controlStyle = reader.Dword();
        EXPECT_EQ(reader.Short(), control.x);
        EXPECT_EQ(reader.Short(), control.y);
        EXPECT_EQ(reader.Short(), control.width);
        EXPECT_EQ(reader.Short(), control.height);
        EXPECT_EQ(reader.Dword(), control.id);
        const WORD windowClass = reader.OrdinalOrZero();
        const std::wstring text = reader.Text();
        reader.Skip(reader.Word());  // creation data
        for (const KindRow& kind : kKinds) {
            if (kind.kind != control.kind) continue;
            EXPECT_EQ(windowClass, kind.windowClass);
            EXPECT_EQ(controlStyle, kChild | kind.style);
        }
        const auto own = controlTexts.find(control.id);
        EXPECT_TRUE(text == (own != controlTexts.end() ? own->second : Utf16(control.text)));
    }
}

TEST(WindowsResources, ReportDialogIsTheTablesTemplate) {
    for (const char* file : {"Vivo.dll", "ResVivo.dll"}) {
        SCOPED_TRACE(file);
        const Module module(file);
        ASSERT_NE(module.handle, nullptr);
        ExpectReportTemplate(module.handle, Utf16(res::kReportDialog.caption), {});
    }
    std::wstring caption = Utf16(res::kReportDialog.caption);
    std::map<WORD, std::wstring> texts;
    for (const Row& row : kJapaneseDialog) {
        if (row.id == res::kControlCaption)
            caption = Utf16(row.text);
        else
            texts[static_cast<WORD>(row.id)] = Utf16(row.text);
    }
    const Module japanese("ResVivoJp.dll");
    ASSERT_NE(japanese.handle, nullptr);
    ExpectReportTemplate(japanese.handle, caption, texts);
}

}  // namespace
}  // namespace vivo::test
