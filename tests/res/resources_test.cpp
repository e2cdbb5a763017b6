// Checks the resources compiled into Obrello.exe: the dialog template as the
// dialog manager reads it, the icon, the languages, the version block and the
// manifest. The executable is loaded as a data file, never run.

#include "res/resource.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

const WORD kEnglishUS = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// No program there ends the run with 77: skipped for the shipped one (SKIP_RETURN_CODE).
const char* ExePath() {
    const char* path = std::getenv("OBRELLO_EXE") ? std::getenv("OBRELLO_EXE") : "Obrello.exe";
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        std::printf("There is no program to check at %s\n", path);
        std::exit(77);
    }
    return path;
}

HMODULE ExeModule() {
    static HMODULE module = LoadLibraryExA(ExePath(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return module;
}

// The bytes of one resource in U.S. English; empty when there is none.
std::vector<uint8_t> ResourceBytes(LPCSTR type, LPCSTR name) {
    HRSRC found = FindResourceExA(ExeModule(), type, name, kEnglishUS);
    if (!found) {
        return {};
    }
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(ExeModule(), found)));
    return data ? std::vector<uint8_t>(data, data + SizeofResource(ExeModule(), found))
                : std::vector<uint8_t>{};
}

// Reads the little-endian WORD stream of a dialog template; throws rather
// than read past its end.
struct TemplateReader {
    const std::vector<uint8_t>& bytes;
    size_t at = 0;

    uint16_t Word() {
        if (at + 2 > bytes.size()) {
            throw std::out_of_range("template ends early");
        }
        uint16_t value = static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
        at += 2;
        return value;
    }
    uint32_t Dword() {
        uint32_t low = Word();
        return low | static_cast<uint32_t>(Word()) << 16;
    }
    int16_t Short() { return static_cast<int16_t>(Word()); }
    std::string Text() {
        std::string text;
        for (uint16_t c = Word(); c != 0; c = Word()) {
            text += c < 0x80 ? static_cast<char>(c) : '?';
        }
        return text;
    }
    // A name or an ordinal: "#n" for an ordinal, "" for none.
    std::string NameOrOrdinal() {
        if (at + 2 <= bytes.size() && bytes[at] == 0xFF && bytes[at + 1] == 0xFF) {
            Word();
            return "#" + std::to_string(Word());
        }
        return Text();
    }
    void AlignToDword() { at = (at + 3) & ~size_t{3}; }
};

// The predefined control classes as a template may name them: by atom or by
// name (the Microsoft compiler writes atoms, windres the names); by name here.
std::string ClassName(std::string name) {
    static const std::map<std::string, std::string> names = {
        {"#128", "BUTTON"}, {"#129", "EDIT"}, {"#130", "STATIC"}, {"#133", "COMBOBOX"}};
    CharUpperA(name.data());
    auto found = names.find(name);
    return found != names.end() ? found->second : name;
}

struct Control {
    DWORD style, exStyle;
    short x, y, cx, cy;
    WORD id;
    std::string className, text; // the class as ClassName gives it
    WORD creationData;
};

struct Dialog {
    DWORD style, exStyle;
    WORD count;
    short x, y, cx, cy;
    std::string menu, windowClass, caption;
    WORD pointSize;
    std::string face;
    std::vector<Control> controls;
    size_t unread; // bytes after the last control, padding aside
};

// Reads IDD_MAIN as a classic template with a font, the form it must have.
Dialog ReadDialog() {
    const std::vector<uint8_t> bytes = ResourceBytes(RT_DIALOG, MAKEINTRESOURCEA(IDD_MAIN));
    TemplateReader in{bytes};
    Dialog d;
    d.style = in.Dword();
    d.exStyle = in.Dword();
    d.count = in.Word();
    d.x = in.Short(), d.y = in.Short(), d.cx = in.Short(), d.cy = in.Short();
    d.menu = in.NameOrOrdinal();
    d.windowClass = in.NameOrOrdinal();
    d.caption = in.Text();
    d.pointSize = in.Word();
    d.face = in.Text();
    for (int i = 0; i < d.count; ++i) {
        in.AlignToDword();
        Control c;
        c.style = in.Dword();
        c.exStyle = in.Dword();
        c.x = in.Short(), c.y = in.Short(), c.cx = in.Short(), c.cy = in.Short();
        c.id = in.Word();
        c.className = ClassName(in.NameOrOrdinal());
        c.text = in.NameOrOrdinal();
        c.creationData = in.Word();
        d.controls.push_back(c);
    }
    in.AlignToDword();
    d.unread = bytes.size() > in.at ? bytes.size() - in.at : 0;
    return d;
}

// id, class, initial text, style, rectangle
const std::tuple<WORD, std::string, std::string, DWORD, short, short, short, short> kControls[] = {
    {IDC_LANGUAGE_GROUP, "BUTTON", "Interface Language", 0x50000007, 7, 7, 220, 30},
    {IDC_LANGUAGE_LABEL, "STATIC", "&Language:", 0x50020000, 15, 20, 72, 8},
    {IDC_LANGUAGE, "COMBOBOX", "", 0x50210003, 93, 18, 125, 80},
    {IDC_URI_GROUP, "BUTTON", "URI", 0x50000007, 7, 44, 220, 168},
    {IDC_URI_LABEL, "STATIC", "&URI:", 0x50020000, 15, 57, 38, 8},
    {IDC_URI, "EDIT", "", 0x50810080, 58, 55, 160, 12},
    {IDC_GENERATE_HTML, "BUTTON", "&Generate HTML Code", 0x50010003, 15, 74, 95, 10},
    {IDC_USE_SCRIPT, "BUTTON", "Use &Script Method", 0x50010003, 123, 74, 95, 10},
    {IDC_DESCRIPTION_LABEL, "STATIC", "&Description:", 0x50020000, 15, 91, 38, 8},
    {IDC_DESCRIPTION, "EDIT", "", 0x50810080, 58, 89, 160, 12},
    {IDC_CRYPTED_LABEL, "STATIC", "Cryp&ted:", 0x50020000, 15, 115, 38, 8},
    {IDC_CRYPTED, "EDIT", "", 0x50B110C4, 58, 113, 160, 70},
    {IDC_CRYPT, "BUTTON", "C&rypt", 0x50010000, 58, 191, 72, 14},
    {IDC_COPY, "BUTTON", "&Copy to Clipboard", 0x50010000, 146, 191, 72, 14},
    {IDC_EXIT, "BUTTON", "E&xit", 0x50010000, 168, 219, 50, 14},
};

TEST(DialogTemplate, HeaderDescribesTheFixedSizeCaptionedWindow) {
    const Dialog d = ReadDialog();
    EXPECT_EQ(d.style, 0x10CA0844u); // also rules out the extended form's signature
    EXPECT_EQ(d.exStyle, 0u);
    EXPECT_EQ(d.count, 15);
    EXPECT_EQ(std::make_tuple(d.x, d.y, d.cx, d.cy), std::make_tuple(0, 0, 234, 241));
    EXPECT_EQ(std::tie(d.menu, d.windowClass), std::make_tuple("", ""));
    EXPECT_EQ(d.caption, "Obrello v3.1 - by Parwick Software");
    EXPECT_EQ(std::tie(d.pointSize, d.face), std::make_tuple(8, "MS Sans Serif"));
}

TEST(DialogTemplate, ControlsMatchTheTableInOrder) {
    const Dialog d = ReadDialog();
    ASSERT_EQ(d.controls.size(), std::size(kControls));
    for (size_t i = 0; i < d.controls.size(); ++i) {
        const Control& c = d.controls[i];
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(std::make_tuple(c.id, c.className, c.text, c.style, c.x, c.y, c.cx, c.cy),
                  kControls[i]);
        EXPECT_EQ(c.exStyle, 0u);
        EXPECT_EQ(c.creationData, 0);
    }
    EXPECT_EQ(d.unread, 0u);
}

INT_PTR CALLBACK IdleDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

// The dialog manager's own reading of the template: it must accept it, centre
// the window, and tab through exactly the focusable controls in table order.
TEST(DialogTemplate, DialogManagerCentresItAndTabsInTableOrder) {
    const std::vector<uint8_t> bytes = ResourceBytes(RT_DIALOG, MAKEINTRESOURCEA(IDD_MAIN));
    ASSERT_FALSE(bytes.empty());
    // A vector's storage from operator new is aligned for any type.
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                             reinterpret_cast<const DLGTEMPLATE*>(bytes.data()),
                                             nullptr, IdleDialogProc, 0);
    ASSERT_NE(dialog, nullptr);

    RECT window, work;
    GetWindowRect(dialog, &window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(window.left + window.right, work.left + work.right, 2);
    EXPECT_NEAR(window.top + window.bottom, work.top + work.bottom, 2);

    const int expected[] = {IDC_LANGUAGE,    IDC_URI,     IDC_GENERATE_HTML, IDC_USE_SCRIPT,
                            IDC_DESCRIPTION, IDC_CRYPTED, IDC_CRYPT,         IDC_COPY,
                            IDC_EXIT,        IDC_LANGUAGE};
    std::vector<int> order;
    HWND item = GetDlgItem(dialog, IDC_EXIT);
    for (size_t i = 0; i < std::size(expected) && item; ++i) {
        item = GetNextDlgTabItem(dialog, item, FALSE);
        order.push_back(item ? GetDlgCtrlID(item) : 0);
    }
    EXPECT_EQ(order, std::vector<int>(std::begin(expected), std::end(expected)));
    DestroyWindow(dialog);
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

TEST(Icon, GroupHoldsA16And32PixelImageOf256Colours) {
    const std::vector<uint8_t> group = ResourceBytes(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_MAIN));
    ASSERT_GE(group.size(), 6u);
    const WORD* header = reinterpret_cast<const WORD*>(group.data());
    EXPECT_EQ(header[1], 1) << "icon, not cursor";
    ASSERT_EQ(header[2], 2);
    ASSERT_EQ(group.size(), 6 + 2 * sizeof(GroupIconEntry));

    std::set<int> sizes;
    for (int i = 0; i < 2; ++i) {
        GroupIconEntry entry;
        memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
        SCOPED_TRACE(entry.width);
        sizes.insert(entry.width);
        EXPECT_EQ(entry.height, entry.width);
        EXPECT_EQ(entry.colorCount, 0) << "256 colours are written as 0";
        EXPECT_EQ(entry.planes, 1);
        EXPECT_EQ(entry.bitCount, 8);

        // The image itself must agree with its directory entry and be usable.
        std::vector<uint8_t> image = ResourceBytes(RT_ICON, MAKEINTRESOURCEA(entry.id));
        ASSERT_EQ(image.size(), entry.bytesInRes);
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER info;
        memcpy(&info, image.data(), sizeof info);
        EXPECT_EQ(info.biWidth, entry.width);
        EXPECT_EQ(info.biHeight, 2 * entry.width) << "colour image and mask";
        EXPECT_EQ(info.biBitCount, 8);
        HICON icon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                              0x00030000, entry.width, entry.width, 0);
        EXPECT_NE(icon, nullptr);
        DestroyIcon(icon);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32}));
}

// Every resource, listed as "type/name/language".
BOOL CALLBACK AddLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR list) {
    auto part = [](LPCSTR id) {
        return IS_INTRESOURCE(id) ? std::to_string(reinterpret_cast<uintptr_t>(id))
                                  : std::string(id);
    };
    reinterpret_cast<std::set<std::string>*>(list)->insert(part(type) + "/" + part(name) + "/" +
                                                           std::to_string(language));
    return TRUE;
}
BOOL CALLBACK AddName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR list) {
    return EnumResourceLanguagesA(module, type, name, AddLanguage, list);
}
BOOL CALLBACK AddType(HMODULE module, LPSTR type, LONG_PTR list) {
    return EnumResourceNamesA(module, type, AddName, list);
}

// Exactly the expected resources, each once and in U.S. English: a second
// copy in another language (a linker's default manifest, say) would be a fault.
TEST(Resources, AllAreUSEnglishAndNoneIsExtra) {
    ASSERT_NE(ExeModule(), nullptr) << "cannot load " << ExePath();
    std::set<std::string> found;
    EnumResourceTypesA(ExeModule(), AddType, reinterpret_cast<LONG_PTR>(&found));

    std::set<std::string> expected = {"5/101/1033", "14/102/1033", "16/1/1033", "24/1/1033"};
    const std::vector<uint8_t> group = ResourceBytes(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_MAIN));
    for (size_t at = 6; at + sizeof(GroupIconEntry) <= group.size(); at += sizeof(GroupIconEntry)) {
        GroupIconEntry entry;
        memcpy(&entry, group.data() + at, sizeof entry);
        expected.insert("3/" + std::to_string(entry.id) + "/1033");
    }
    EXPECT_EQ(found, expected);
}

struct VersionBlock {
    std::vector<uint8_t> data;

    VersionBlock() {
        DWORD ignored = 0;
        data.resize(GetFileVersionInfoSizeA(ExePath(), &ignored));
        if (!data.empty() &&
            !GetFileVersionInfoA(ExePath(), 0, static_cast<DWORD>(data.size()), data.data())) {
            data.clear();
        }
    }
    // The value at a path, or false when there is none.
    bool Query(const std::string& path, void** value, UINT* length) {
        return !data.empty() && VerQueryValueA(data.data(), path.c_str(), value, length);
    }
};

TEST(Version, FixedPartAndTranslationName3_1_32_144InUSEnglish) {
    VersionBlock version;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(version.Query("\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof *fixed);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const std::tuple<DWORD, DWORD> number(0x00030001, 0x00200090); // 3.1.32.144
    EXPECT_EQ(std::tie(fixed->dwFileVersionMS, fixed->dwFileVersionLS), number);
    EXPECT_EQ(std::tie(fixed->dwProductVersionMS, fixed->dwProductVersionLS), number);
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u)
        << "no debug, pre-release or patch flags";
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    WORD* translation = nullptr;
    ASSERT_TRUE(version.Query("\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                              &length));
    ASSERT_EQ(length, 4u) << "one language and code page pair";
    EXPECT_EQ(std::tie(translation[0], translation[1]), std::make_tuple(0x0409, 0x04b0));
}

TEST(Version, StringTableHasAllTwelveKeys) {
    // The key and its value; null: any text, but not empty.
    const std::pair<const char*, const char*> keys[] = {
        {"Comments", nullptr},
        {"CompanyName", "Parwick Software"},
        {"FileDescription", nullptr},
        {"FileVersion", "3.1.32.144"},
        {"InternalName", nullptr},
        {"LegalCopyright", nullptr},
        {"LegalTrademarks", nullptr},
        {"OriginalFilename", "Obrello.exe"},
        {"PrivateBuild", ""},
        {"ProductName", "Obrello"},
        {"ProductVersion", "3.1.32.144"},
        {"SpecialBuild", ""},
    };
    VersionBlock version;
    for (const auto& [name, expected] : keys) {
        SCOPED_TRACE(name);
        char* text = nullptr;
        UINT length = 0;
        ASSERT_TRUE(version.Query(std::string("\\StringFileInfo\\040904b0\\") + name,
                                  reinterpret_cast<void**>(&text), &length));
        const std::string value = length && text ? std::string(text) : std::string();
        if (expected) {
            EXPECT_EQ(value, expected);
        } else {
            EXPECT_FALSE(value.empty());
        }
    }
}

// The attributes of the first assemblyIdentity element at or after `from`.
std::map<std::string, std::string> IdentityAfter(const std::string& xml, size_t from) {
    std::map<std::string, std::string> attributes;
    const size_t start = xml.find("<assemblyIdentity", from);
    if (start == std::string::npos) {
        return attributes;
    }
    const std::string element = xml.substr(start, xml.find('>', start) - start);
    const std::regex attribute("([A-Za-z]+)\\s*=\\s*\"([^\"]*)\"");
    for (std::sregex_iterator it(element.begin(), element.end(), attribute), end; it != end; ++it) {
        attributes[(*it)[1]] = (*it)[2];
    }
    return attributes;
}

// The manifest must ask for the processor the program is built for: Windows
// refuses to start a 64-bit program that asks for x86 assemblies.
std::string ArchitectureOfExe() {
    DWORD kind = ~DWORD{0};
    GetBinaryTypeA(ExePath(), &kind);
    return kind == SCS_32BIT_BINARY ? "X86" : kind == SCS_64BIT_BINARY ? "amd64" : "unknown";
}

// The manifest (type 24, id 1) as text; empty when there is none.
std::string ManifestXml() {
    const std::vector<uint8_t> bytes = ResourceBytes(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    return std::string(bytes.begin(), bytes.end());
}

TEST(Manifest, NamesTheProgramAndDependsOnCommonControls6) {
    const std::string xml = ManifestXml();
    ASSERT_FALSE(xml.empty());

    const std::string architecture = ArchitectureOfExe();
    const std::map<std::string, std::string> self = {{"name", "Parwick.Obrello.Obrello"},
                                                     {"version", "3.1.32.144"},
                                                     {"processorArchitecture", architecture},
                                                     {"type", "win32"}};
    EXPECT_EQ(IdentityAfter(xml, 0), self);
    // The loader refuses a manifest, and with it the program, unless its root is asm.v1's.
    EXPECT_NE(xml.find("<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\""), std::string::npos);
    EXPECT_NE(xml.find("<description>Parwick Obrello</description>"), std::string::npos);

    const size_t dependency = xml.find("<dependentAssembly>", xml.find("<dependency>"));
    ASSERT_NE(dependency, std::string::npos);
    const std::map<std::string, std::string> controls = {
        {"type", "win32"},
        {"name", "Microsoft.Windows.Common-Controls"},
        {"version", "6.0.0.0"},
        {"processorArchitecture", architecture},
        {"publicKeyToken", "6595b64144ccf1df"},
        {"language", "*"}};
    EXPECT_EQ(IdentityAfter(xml, dependency), controls);
}

// The system's own loader must accept the manifest and resolve its dependency,
// or the program would not start at all. A process finds the assemblies of
// its own processor only (64-bit Wine without 32-bit Wine has no x86 ones), so
// the manifest of a program for the other one is tried with this process's
// architecture instead; the test above checks the one it names.
TEST(Manifest, SystemBuildsAnActivationContextFromIt) {
    ACTCTXA context = {};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = ExePath();
    context.lpResourceName = MAKEINTRESOURCEA(1);
    const char* own = sizeof(void*) == 8 ? "amd64" : "X86";
    TempFolder folder;
    std::string retargeted;
    if (ArchitectureOfExe() != own) {
        const std::string xml = std::regex_replace(
            ManifestXml(), std::regex("(processorArchitecture=\")[^\"]*"), std::string("$1") + own);
        retargeted = folder.write("retargeted.manifest", xml);
        context.dwFlags = 0;
        context.lpSource = retargeted.c_str();
    }
    HANDLE handle = CreateActCtxA(&context);
    EXPECT_NE(handle, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    if (handle != INVALID_HANDLE_VALUE) {
        ReleaseActCtx(handle);
    }
}

} // namespace
