// Reads the resources back out of the built launcher and compares them with
// the launcher's tables: dialog template, string table, icon, picture and
// version block. The bytes are parsed here, not through the dialog manager,
// so a style bit or a control id that windres got wrong shows up as such.
//
// The module is the built launcher.exe, loaded as a data file.
// Ids are written as numbers on purpose: a wrong number in resource.h would
// move a resource in the .rc and the test alike if both used the symbols.

#include "paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace {

const WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const DWORD kChildVisible = WS_CHILD | WS_VISIBLE;

// A name or an ordinal as resource templates store them: 0xFFFF followed by
// a 16-bit number, or a zero-terminated UTF-16 string ("" meaning none).
struct NameOrOrdinal {
    bool isOrdinal;
    uint16_t ordinal;
    std::string name;
};

NameOrOrdinal Ordinal(uint16_t n) {
    return {true, n, ""};
}
NameOrOrdinal Name(const char* s) {
    return {false, 0, s};
}

bool operator==(const NameOrOrdinal& a, const NameOrOrdinal& b) {
    return a.isOrdinal == b.isOrdinal && (a.isOrdinal ? a.ordinal == b.ordinal : a.name == b.name);
}

std::ostream& operator<<(std::ostream& os, const NameOrOrdinal& v) {
    if (v.isOrdinal)
        return os << "ordinal " << v.ordinal;
    return os << '"' << v.name << '"';
}

std::string Hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof(buf), "0x%08X", static_cast<unsigned>(v));
    return buf;
}

// UTF-16 text as bytes for comparison with the expected ASCII texts; anything
// outside ASCII is spelt out so that it can never compare equal by accident.
std::string Narrow(const std::vector<uint16_t>& units) {
    std::string s;
    for (uint16_t u : units) {
        if (u < 0x80) {
            s += static_cast<char>(u);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof(buf), "\\u%04X", u);
            s += buf;
        }
    }
    return s;
}

// Little-endian reader over one resource; reading past the end sets a flag
// and yields zeros instead of touching memory outside the resource.
class ByteReader {
public:
    ByteReader(const void* data, size_t size) : p_(static_cast<const uint8_t*>(data)), size_(size) {}

    uint8_t Byte() { return static_cast<uint8_t>(Take(1)); }
    uint16_t Word() { return static_cast<uint16_t>(Take(2)); }
    int16_t Short() { return static_cast<int16_t>(Take(2)); }
    uint32_t Dword() { return Take(4); }

    std::string WideString() {
        std::vector<uint16_t> units;
        for (uint16_t u = Word(); u != 0 && !overrun_; u = Word())
            units.push_back(u);
        return Narrow(units);
    }

    NameOrOrdinal ReadNameOrOrdinal() {
        size_t start = off_;
        if (Word() == 0xFFFF)
            return Ordinal(Word());
        off_ = start;
        return Name(WideString().c_str());
    }

    // Items of a template and nodes of a version block start on 32-bit
    // boundaries, counted from the start of the resource.
    void AlignDword() { Seek((off_ + 3) & ~size_t(3)); }

    void Seek(size_t off) {
        if (off > size_) {
            overrun_ = true;
            off = size_;
        }
        off_ = off;
    }

    size_t offset() const { return off_; }
    bool overrun() const { return overrun_; }

private:
    uint32_t Take(size_t n) {
        if (n > size_ - off_) {
            overrun_ = true;
            off_ = size_;
            return 0;
        }
        uint32_t v = 0;
        for (size_t i = 0; i < n; ++i)
            v |= uint32_t(p_[off_ + i]) << (8 * i);
        off_ += n;
        return v;
    }

    const uint8_t* p_;
    size_t size_;
    size_t off_ = 0;
    bool overrun_ = false;
};

struct Resource {
    const uint8_t* data;
    size_t size;
};

class LauncherResources : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string path = LauncherExe();
        path_ = path;
        // As a data file the image is mapped for its resources only: none of
        // its imports are bound and none of its code runs.
        module_ = LoadLibraryExA(path.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        loadError_ = GetLastError();
    }

    static void TearDownTestSuite() {
        if (module_)
            FreeLibrary(module_);
        module_ = NULL;
    }

    void SetUp() override {
        ASSERT_NE(module_, nullptr) << "cannot load " << path_ << " as a data file, error " << loadError_;
    }

    // The resource in US English only: FindResourceExA does not fall back to
    // another language when it is given one explicitly.
    static Resource Find(LPCSTR type, LPCSTR name) {
        HRSRC info = FindResourceExA(module_, type, name, kEnglishUs);
        if (!info)
            return {nullptr, 0};
        HGLOBAL loaded = LoadResource(module_, info);
        const void* data = loaded ? LockResource(loaded) : nullptr;
        return {static_cast<const uint8_t*>(data), data ? SizeofResource(module_, info) : 0};
    }

    static HMODULE module_;
    static std::string path_;
    static DWORD loadError_;
};

HMODULE LauncherResources::module_ = NULL;
std::string LauncherResources::path_;
DWORD LauncherResources::loadError_ = 0;

TEST_F(LauncherResources, DialogHeaderDescribesTheLauncherWindow) {
    Resource dlg = Find(RT_DIALOG, MAKEINTRESOURCEA(102));
    ASSERT_NE(dlg.data, nullptr) << "no dialog 102 in language 1033";

    ByteReader r(dlg.data, dlg.size);
    EXPECT_EQ(r.Word(), 1) << "dlgVer";
    EXPECT_EQ(r.Word(), 0xFFFF) << "signature of an extended template";
    EXPECT_EQ(r.Dword(), 0u) << "helpID";
    EXPECT_EQ(Hex(r.Dword()), Hex(WS_EX_APPWINDOW)) << "exStyle";
    EXPECT_EQ(Hex(r.Dword()), Hex(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT))
        << "style";
    EXPECT_EQ(r.Word(), 9) << "cDlgItems";
    EXPECT_EQ(r.Short(), 0) << "x";
    EXPECT_EQ(r.Short(), 0) << "y";
    EXPECT_EQ(r.Short(), 182) << "cx";
    EXPECT_EQ(r.Short(), 186) << "cy";
    EXPECT_EQ(r.ReadNameOrOrdinal(), Name("")) << "menu";
    EXPECT_EQ(r.ReadNameOrOrdinal(), Name("")) << "window class";
    EXPECT_EQ(r.WideString(), "Skellion") << "title";
    EXPECT_EQ(r.Word(), 8) << "pointsize";
    EXPECT_EQ(r.Word(), 0) << "weight";
    EXPECT_EQ(r.Byte(), 0) << "italic";
    EXPECT_EQ(r.Byte(), 1) << "charset";
    EXPECT_EQ(r.WideString(), "MS Sans Serif") << "typeface";
    EXPECT_FALSE(r.overrun());
}

struct ControlRow {
    uint32_t id;
    uint16_t classOrdinal;
    NameOrOrdinal text;
    uint32_t style;
    int16_t x, y, cx, cy;
};

const uint16_t kButton = 0x0080;
const uint16_t kStatic = 0x0082;
const uint32_t kNoId = 0xFFFFFFFF;

// Template order, which is also the tab order.
const ControlRow kControls[] = {
    {kNoId, kStatic, Ordinal(131), kChildVisible | SS_BITMAP, 7, 7, 171, 67},
    {kNoId, kButton, Name("Install"), kChildVisible | BS_GROUPBOX, 5, 80, 55, 80},
    {1002, kButton, Name("&Install"), kChildVisible | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 10, 90, 45, 30},
    {1009, kButton, Name("&Uninstall"), kChildVisible | WS_TABSTOP | BS_PUSHBUTTON, 10, 125, 45, 30},
    {kNoId, kButton, Name("Play"), kChildVisible | BS_GROUPBOX, 65, 80, 110, 80},
    {1001, kButton, Name("&Play Skellion"), kChildVisible | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 70, 90, 100, 30},
    {1005, kButton, Name("&Fast Video (Full Screen)"), kChildVisible | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 71,
     127, 91, 10},
    {1006, kButton, Name("&Safe Video (Windowed)"), kChildVisible | WS_TABSTOP | BS_AUTORADIOBUTTON, 71, 142, 91, 10},
    {IDCANCEL, kButton, Name("&Quit"), kChildVisible | WS_TABSTOP | BS_PUSHBUTTON, 10, 165, 160, 14},
};

TEST_F(LauncherResources, DialogControlsMatchTheTableInTabOrder) {
    Resource dlg = Find(RT_DIALOG, MAKEINTRESOURCEA(102));
    ASSERT_NE(dlg.data, nullptr) << "no dialog 102 in language 1033";

    // Skip the header: fixed part, menu, class, title, font.
    ByteReader r(dlg.data, dlg.size);
    r.Seek(16);
    uint16_t count = r.Word();
    r.Seek(26);
    r.ReadNameOrOrdinal();
    r.ReadNameOrOrdinal();
    r.WideString();
    r.Seek(r.offset() + 6);
    r.WideString();
    ASSERT_EQ(count, sizeof(kControls) / sizeof(kControls[0])) << "cDlgItems";

    for (size_t i = 0; i < count; ++i) {
        const ControlRow& want = kControls[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1) + " " + ::testing::PrintToString(want.text));
        r.AlignDword();
        EXPECT_EQ(r.Dword(), 0u) << "helpID";
        EXPECT_EQ(Hex(r.Dword()), Hex(0)) << "exStyle";
        EXPECT_EQ(Hex(r.Dword()), Hex(want.style)) << "style";
        EXPECT_EQ(r.Short(), want.x) << "x";
        EXPECT_EQ(r.Short(), want.y) << "y";
        EXPECT_EQ(r.Short(), want.cx) << "cx";
        EXPECT_EQ(r.Short(), want.cy) << "cy";
        EXPECT_EQ(Hex(r.Dword()), Hex(want.id)) << "id";
        EXPECT_EQ(r.ReadNameOrOrdinal(), Ordinal(want.classOrdinal)) << "window class";
        EXPECT_EQ(r.ReadNameOrOrdinal(), want.text) << "title";
        EXPECT_EQ(r.Word(), 0) << "extraCount";
    }
    EXPECT_FALSE(r.overrun());
    EXPECT_EQ(r.offset(), dlg.size) << "bytes after the last control";
}

struct StringRow {
    UINT id;
    const char* text;
};

const StringRow kStrings[] = {
    {1, "Error:\nUnable to determine the location of this program's executable file"},
    {2, "DirectX Setup error: \nThis is the wrong version of Windows"},
    {3, "DirectX Setup error: \nA necessary source file was not found"},
    {4, "DirectX Setup error: \nA file's size could not be verified or was incorrect"},
    {5, "DirectX Setup error: \nA file's date and time could not be verified or was incorrect"},
    {6, "DirectX Setup error: \nA file's version could not be verified or was incorrect"},
    {7, "DirectX Setup error: \nA required INF file could not be found"},
    {8, "DirectX Setup error: \nSetup ran out of disk space during the installation"},
    {9, "DirectX Setup error: \nSetup could not find the working directory"},
    {10, "DirectX Setup error: \nInternal error"},
    {11, "DirectX Setup error: \nAn unknown error occured"},
    {12, "Do you want to make sure that your system has DirectX 3 or better installed?"},
    {13, "Please note:\nIt will be necessary to reboot your system before running Skellion."},
    {14, "Do you want to remove all saved games and high score records?"},
    {16, "setup"},
    {17, "Do you want to install about 45M of Skellion files to your\nhard drive for faster loads and more music?"},
    {19, "setup.exe"},
    {21, "DirectX Setup error: \nThe operating system on your system is not currently supported."},
    {22, "DirectX Setup error: \nThe version of Windows NT on this system does not have all the DirectX 3 "
         "components installed."},
    {23, "Error: unable to launch"},
    {24, "Vorrow"},
    {26, "vorrow.exe"},
    {27, "-DirectDraw 0 -FullScreen 0"},
    {28, "-INIFileUsageMode 1 -ArchiveMode 0"},
    {29, "d:\\vorrow\\engine\\src\\win32_rl"},
    {30, "s:\\setups\\sk2\\setup"},
    {31, "The uninstallation of Skellion is complete."},
    {32, "Skellion is already uninstalled."},
    {33, "The system will need to be rebooted before playing Skellion.\nReboot the system now?"},
    {0xE000, "Skellion Setup"},
    {0xE001, "Skellion requires Windows 95 or Windows NT 4.0 or higher."},
    {0xE002, "Please make sure the Skellion CD is in your CD-ROM drive."},
};

// The framework's own strings start here; they are not the launcher's.
const UINT kFrameworkStrings = 0xF000;

TEST_F(LauncherResources, EveryStringLoadsWithItsExactBytes) {
    for (const StringRow& want : kStrings) {
        SCOPED_TRACE("string " + std::to_string(want.id));
        char buf[512];
        std::memset(buf, '#', sizeof(buf));
        int n = LoadStringA(module_, want.id, buf, sizeof(buf));
        ASSERT_GT(n, 0) << "not found, error " << GetLastError();
        ASSERT_LT(n, static_cast<int>(sizeof(buf)) - 1) << "does not fit the buffer";
        EXPECT_EQ(std::string(buf, n), want.text);
        EXPECT_EQ(buf[n], '\0');
    }
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<WORD>*>(param)->push_back(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

// Parses the RT_STRING blocks directly (block n holds ids 16(n-1) to
// 16(n-1)+15, each a counted UTF-16 string), which shows both the exact
// UTF-16 text and that no id below the framework's range is left over.
TEST_F(LauncherResources, StringBlocksHoldExactlyTheLauncherTexts) {
    std::vector<WORD> blocks;
    EnumResourceNamesA(module_, RT_STRING, CollectName, reinterpret_cast<LONG_PTR>(&blocks));

    std::map<UINT, std::string> found;
    for (WORD block : blocks) {
        UINT first = (block - 1u) * 16u;
        if (first >= kFrameworkStrings)
            continue;
        SCOPED_TRACE("string block " + std::to_string(block));
        Resource res = Find(RT_STRING, MAKEINTRESOURCEA(block));
        ASSERT_NE(res.data, nullptr) << "block missing in language 1033";
        ByteReader r(res.data, res.size);
        for (UINT i = 0; i < 16; ++i) {
            std::vector<uint16_t> units(r.Word());
            for (uint16_t& u : units)
                u = r.Word();
            if (!units.empty())
                found[first + i] = Narrow(units);
        }
        EXPECT_FALSE(r.overrun());
    }

    std::map<UINT, std::string> expected;
    for (const StringRow& row : kStrings)
        expected[row.id] = row.text;
    for (const auto& entry : found) {
        SCOPED_TRACE("string " + std::to_string(entry.first));
        auto it = expected.find(entry.first);
        if (it == expected.end())
            ADD_FAILURE() << "id not in the launcher's table: \"" << entry.second << '"';
        else
            EXPECT_EQ(entry.second, it->second);
    }
    for (const auto& entry : expected)
        EXPECT_TRUE(found.count(entry.first)) << "string " << entry.first << " missing";
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colorCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14, "entry of an RT_GROUP_ICON directory");

struct IconRow {
    int size;
};

const IconRow kIconImages[] = {{32}, {16}};

TEST_F(LauncherResources, IconHas32And16PixelImagesOf16Colours) {
    Resource group = Find(RT_GROUP_ICON, MAKEINTRESOURCEA(128));
    ASSERT_NE(group.data, nullptr) << "no icon group 128 in language 1033";
    ByteReader r(group.data, group.size);
    EXPECT_EQ(r.Word(), 0) << "reserved";
    EXPECT_EQ(r.Word(), 1) << "type: icon";
    WORD count = r.Word();
    ASSERT_EQ(count, sizeof(kIconImages) / sizeof(kIconImages[0]));
    ASSERT_EQ(group.size, 6 + count * sizeof(GroupIconEntry));
    const GroupIconEntry* entries = reinterpret_cast<const GroupIconEntry*>(group.data + 6);

    for (const IconRow& want : kIconImages) {
        SCOPED_TRACE(std::to_string(want.size) + " x " + std::to_string(want.size));
        const GroupIconEntry* e = nullptr;
        for (WORD i = 0; i < count; ++i)
            if (entries[i].width == want.size)
                e = &entries[i];
        ASSERT_NE(e, nullptr) << "no entry of this size";
        EXPECT_EQ(e->height, want.size);
        EXPECT_EQ(e->colorCount, 16);
        EXPECT_EQ(e->planes, 1);
        EXPECT_EQ(e->bitCount, 4);

        Resource image = Find(RT_ICON, MAKEINTRESOURCEA(e->id));
        ASSERT_NE(image.data, nullptr) << "icon image " << e->id << " missing in language 1033";
        EXPECT_EQ(image.size, e->bytesInRes);
        ASSERT_GE(image.size, sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER bih;
        std::memcpy(&bih, image.data, sizeof(bih));
        EXPECT_EQ(bih.biSize, sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(bih.biWidth, want.size);
        EXPECT_EQ(bih.biHeight, 2 * want.size) << "colour and mask rows";
        EXPECT_EQ(bih.biPlanes, 1);
        EXPECT_EQ(bih.biBitCount, 4);
        EXPECT_EQ(bih.biCompression, static_cast<DWORD>(BI_RGB));
        size_t xorStride = ((want.size * 4 + 31) / 32) * 4;
        size_t andStride = ((want.size + 31) / 32) * 4;
        EXPECT_EQ(image.size, sizeof(bih) + 16 * sizeof(RGBQUAD) + (xorStride + andStride) * want.size);

        // The system must accept the image as an icon of that size.
        HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image.data), image.size, TRUE, 0x00030000, want.size,
                                              want.size, LR_DEFAULTCOLOR);
        EXPECT_NE(icon, nullptr) << "rejected by CreateIconFromResourceEx, error " << GetLastError();
        if (icon)
            DestroyIcon(icon);
    }
}

TEST_F(LauncherResources, PictureIs250By109With8BitsAndAFullPalette) {
    Resource bmp = Find(RT_BITMAP, MAKEINTRESOURCEA(131));
    ASSERT_NE(bmp.data, nullptr) << "no bitmap 131 in language 1033";
    ASSERT_GE(bmp.size, sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER bih;
    std::memcpy(&bih, bmp.data, sizeof(bih));
    EXPECT_EQ(bih.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(bih.biWidth, 250);
    EXPECT_EQ(bih.biHeight, 109) << "positive: rows stored bottom-up";
    EXPECT_EQ(bih.biPlanes, 1);
    EXPECT_EQ(bih.biBitCount, 8);
    EXPECT_EQ(bih.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_TRUE(bih.biClrUsed == 0 || bih.biClrUsed == 256) << "biClrUsed " << bih.biClrUsed;
    const size_t stride = (250 + 3) & ~3;
    EXPECT_EQ(bmp.size, sizeof(bih) + 256 * sizeof(RGBQUAD) + stride * 109);
}

// One node of a version block: wLength, wValueLength, wType, key, value,
// children. Values land in a map under their path ("\\VarFileInfo\\...").
struct VersionValue {
    std::vector<uint8_t> bytes;
    std::string text;
};

void ReadVersionNode(const uint8_t* base, size_t size, const std::string& path,
                     std::map<std::string, VersionValue>& out, std::string* rootKey) {
    ByteReader r(base, size);
    uint16_t length = r.Word();
    uint16_t valueLength = r.Word();
    uint16_t type = r.Word();
    std::string key = r.WideString();
    r.AlignDword();
    if (length > size || r.overrun()) {
        ADD_FAILURE() << "version node " << path << key << " overruns its parent";
        return;
    }
    std::string here = rootKey ? "\\" : path + "\\" + key;
    if (rootKey)
        *rootKey = key;

    size_t valueBytes = type == 1 ? valueLength * 2u : valueLength;
    size_t valueStart = r.offset();
    if (valueStart > length || valueBytes > length - valueStart) {
        ADD_FAILURE() << "value of " << here << " overruns its node";
        return;
    }
    VersionValue& v = out[here];
    v.bytes.assign(base + valueStart, base + valueStart + valueBytes);
    if (type == 1) {
        ByteReader text(base + valueStart, valueBytes);
        v.text = text.WideString();
    }
    r.Seek(valueStart + valueBytes);
    r.AlignDword();
    while (r.offset() < length) {
        size_t child = r.offset();
        uint16_t childLength = r.Word();
        if (childLength == 0 || childLength > length - child) {
            ADD_FAILURE() << "child of " << here << " at " << child << " has length " << childLength;
            return;
        }
        ReadVersionNode(base + child, childLength, here == "\\" ? "" : here, out, nullptr);
        r.Seek(child + childLength);
        r.AlignDword();
    }
}

TEST_F(LauncherResources, VersionBlockStates1001ForA32BitApplication) {
    Resource ver = Find(RT_VERSION, MAKEINTRESOURCEA(1));
    ASSERT_NE(ver.data, nullptr) << "no version resource 1 in language 1033";
    std::map<std::string, VersionValue> values;
    std::string rootKey;
    ReadVersionNode(ver.data, ver.size, "", values, &rootKey);
    EXPECT_EQ(rootKey, "VS_VERSION_INFO");

    const std::vector<uint8_t>& fixedBytes = values["\\"].bytes;
    ASSERT_EQ(fixedBytes.size(), sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, fixedBytes.data(), sizeof(fixed));
    EXPECT_EQ(Hex(fixed.dwSignature), Hex(0xFEEF04BD));
    EXPECT_EQ(Hex(fixed.dwFileVersionMS), Hex(0x00010000));
    EXPECT_EQ(Hex(fixed.dwFileVersionLS), Hex(0x00000001));
    EXPECT_EQ(Hex(fixed.dwProductVersionMS), Hex(0x00010000));
    EXPECT_EQ(Hex(fixed.dwProductVersionLS), Hex(0x00000001));
    EXPECT_EQ(Hex(fixed.dwFileOS), Hex(VOS__WINDOWS32));
    EXPECT_EQ(Hex(fixed.dwFileType), Hex(VFT_APP));

    struct TextRow {
        const char* path;
        const char* text;
    };
    const TextRow texts[] = {
        {"\\StringFileInfo\\040904B0\\CompanyName", "Orrindale"},
        {"\\StringFileInfo\\040904B0\\FileDescription", "Skellion CD launcher"},
        {"\\StringFileInfo\\040904B0\\FileVersion", "1.0.0.1"},
        {"\\StringFileInfo\\040904B0\\ProductName", "Skellion"},
        {"\\StringFileInfo\\040904B0\\ProductVersion", "1.0.0.1"},
    };
    for (const TextRow& want : texts) {
        SCOPED_TRACE(want.path);
        auto it = values.find(want.path);
        ASSERT_NE(it, values.end()) << "missing";
        EXPECT_EQ(it->second.text, want.text);
    }

    // The translation names the language and code page of the string block.
    auto translation = values.find("\\VarFileInfo\\Translation");
    ASSERT_NE(translation, values.end());
    const std::vector<uint8_t> usEnglishUnicode = {0x09, 0x04, 0xB0, 0x04};
    EXPECT_EQ(translation->second.bytes, usEnglishUnicode);
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD lang, LONG_PTR param) {
    reinterpret_cast<std::set<WORD>*>(param)->insert(lang);
    return TRUE;
}

TEST_F(LauncherResources, LauncherResourcesExistInUsEnglishOnly) {
    struct Row {
        const char* what;
        LPCSTR type;
        WORD name;
    };
    std::vector<Row> rows = {
        {"dialog 102", RT_DIALOG, 102},
        {"icon group 128", RT_GROUP_ICON, 128},
        {"bitmap 131", RT_BITMAP, 131},
        {"version 1", RT_VERSION, 1},
    };
    std::set<WORD> stringBlocks;
    for (const StringRow& s : kStrings)
        stringBlocks.insert(static_cast<WORD>(s.id / 16 + 1));
    for (WORD block : stringBlocks)
        rows.push_back({"string block", RT_STRING, block});

    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.what) + " (" + std::to_string(row.name) + ")");
        std::set<WORD> langs;
        EnumResourceLanguagesA(module_, row.type, MAKEINTRESOURCEA(row.name), CollectLanguage,
                               reinterpret_cast<LONG_PTR>(&langs));
        EXPECT_EQ(langs, std::set<WORD>{kEnglishUs});
    }
}

} // namespace
