// The launcher's registry records on Wine's real registry: what an opening registers, the installer
// handshake and the removal. These tests own the fixed record keys (a CTest resource lock).
#include "app/launcher_app.h"
#include "dialog/launcher_dlg.h"
#include "modal_runner.h"
#include "registry/records.h"
#include "registry_scratch.h"

#include <gtest/gtest.h>

namespace {
const HKEY kHklm = HKEY_LOCAL_MACHINE;

void RemoveAllRecords() {
    DeleteTree(kHklm, SK_COMPANY_KEY);
    DeleteTree(kHklm, SK_UNINSTALL_KEY);
}

class Records : public ::testing::Test {
protected:
    void SetUp() override { RemoveAllRecords(); }
    void TearDown() override { RemoveAllRecords(); }

    // The bookkeeping of an opening, for a launcher at the given path.
    static void Register(const char* exeDir, const char* exePath) {
        CLauncherDlg dlg;
        dlg.m_strExeDir = exeDir;
        dlg.m_strExePath = exePath;
        dlg.RegisterCdAndUninstall();
    }
};

struct CdCase {
    const char* name;
    DWORD type; // 0: no value
    std::string bytes;
    std::string expected; // the REG_SZ text afterwards
};
} // namespace

TEST_F(Records, CdIsKeptOnlyWhenItReadsExactlyNA) {
    const CdCase cases[] = {
        {"exactly NA", REG_SZ, std::string("NA\0", 3), "NA"},
        {"NA without its zero byte", REG_SZ, "NA", "NA"},
        {"lower case", REG_SZ, std::string("na\0", 3), "E:\\Games"},
        {"trailing blank", REG_SZ, std::string("NA \0", 4), "E:\\Games"},
        {"empty", REG_SZ, std::string("\0", 1), "E:\\Games"},
        {"missing", 0, "", "E:\\Games"},
        {"dword", REG_DWORD, std::string("\0\0\0\0", 4), "E:\\Games"},
        {"expand string NA", REG_EXPAND_SZ, std::string("NA\0", 3), "E:\\Games"},
        {"an older location", REG_SZ, std::string("F:\0", 3), "E:\\Games"},
    };
    for (const CdCase& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveAllRecords();
        if (c.type != 0)
            PutValue(kHklm, SK_PRODUCT_KEY, "CD", c.type, c.bytes);
        Register("E:\\Games", "E:\\Games\\launcher.exe");
        RawValue cd = GetValue(kHklm, SK_PRODUCT_KEY, "CD");
        EXPECT_EQ((DWORD)REG_SZ, cd.type);
        EXPECT_EQ(c.expected, std::string(cd.bytes.c_str()));
    }
}

struct UninstallCase {
    const char* name;
    DWORD type; // 0: no value
    std::string bytes;
    bool ownEntryWritten;
};

TEST_F(Records, OwnUninstallEntryOnlyWhenNoneCanBeRead) {
    const UninstallCase cases[] = {
        {"another program's entry", REG_SZ, std::string("C:\\Other\\uninst.exe -x\0", 24), false},
        {"an empty entry", REG_SZ, std::string("\0", 1), false},
        {"expand string", REG_EXPAND_SZ, std::string("%SystemRoot%\\u.exe\0", 19), true},
        {"dword", REG_DWORD, std::string("\1\0\0\0", 4), true},
        {"missing", 0, "", true},
    };
    for (const UninstallCase& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveAllRecords();
        if (c.type != 0)
            PutValue(kHklm, SK_UNINSTALL_KEY, "UninstallString", c.type, c.bytes);
        Register("C:\\Program Files\\Skellion CD", "C:\\Program Files\\Skellion CD\\launcher.exe");
        RawValue entry = GetValue(kHklm, SK_UNINSTALL_KEY, "UninstallString");
        RawValue name = GetValue(kHklm, SK_UNINSTALL_KEY, "DisplayName");
        if (c.ownEntryWritten) {
            EXPECT_EQ((DWORD)REG_SZ, entry.type);
            EXPECT_EQ(std::string("\"C:\\Program Files\\Skellion CD\\launcher.exe\" /u\0", 47), entry.bytes);
            EXPECT_EQ(std::string("Skellion\0", 9), name.bytes);
        } else {
            EXPECT_EQ(c.type, entry.type);
            EXPECT_EQ(c.bytes, entry.bytes);
            EXPECT_FALSE(name.exists);
        }
    }
}

struct HandshakeCase {
    const char* name;
    DWORD type; // 0: no value
    std::string bytes;
    int running;
};

TEST_F(Records, InstallerCountsAsRunningOnlyWhileTheHandshakeReadsExactlyTRUE) {
    const HandshakeCase cases[] = {
        {"TRUE", REG_SZ, std::string("TRUE\0", 5), 1},
        {"TRUE without its zero byte", REG_SZ, "TRUE", 1},
        {"true", REG_SZ, std::string("true\0", 5), 0},
        {"TRUE and a blank", REG_SZ, std::string("TRUE \0", 6), 0},
        {"FALSE", REG_SZ, std::string("FALSE\0", 6), 0},
        {"empty", REG_SZ, std::string("\0", 1), 0},
        {"deleted", 0, "", 0},
        {"TRUE as an expand string", REG_EXPAND_SZ, std::string("TRUE\0", 5), 0},
        {"dword", REG_DWORD, std::string("\1\0\0\0", 4), 0},
    };
    for (const HandshakeCase& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteValue(kHklm, SK_PRODUCT_KEY, "IsRunningIS");
        if (c.type != 0)
            PutValue(kHklm, SK_PRODUCT_KEY, "IsRunningIS", c.type, c.bytes);
        EXPECT_EQ(c.running, IsInstallerRunning());
    }
}

TEST_F(Records, SetInstallerRunningWritesTRUEOrFALSE) {
    const struct {
        int flag;
        std::string stored;
    } cases[] = {{1, std::string("TRUE\0", 5)}, {0, std::string("FALSE\0", 6)}, {7, std::string("TRUE\0", 5)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flag);
        PutDword(kHklm, SK_PRODUCT_KEY, "IsRunningIS", 5);
        SetInstallerRunning(c.flag);
        RawValue raw = GetValue(kHklm, SK_PRODUCT_KEY, "IsRunningIS");
        EXPECT_EQ((DWORD)REG_SZ, raw.type);
        EXPECT_EQ(c.stored, raw.bytes);
        EXPECT_EQ(c.flag != 0 ? 1 : 0, IsInstallerRunning());
    }
}

TEST_F(Records, RemovalDeletesTheFourKeysEachWhateverBecameOfTheOthers) {
    // Everything present.
    PutString(kHklm, SK_PRODUCT_KEY, "CD", "E:");
    PutString(kHklm, SK_UNINSTALL_KEY, "UninstallString", "x /u");
    RemoveRegistryRecords();
    EXPECT_FALSE(KeyExists(kHklm, SK_PRODUCT_KEY));
    EXPECT_FALSE(KeyExists(kHklm, SK_UNINSTALL_KEY));
    EXPECT_FALSE(KeyExists(kHklm, SK_PRODUCT_NAME_KEY));
    EXPECT_FALSE(KeyExists(kHklm, SK_COMPANY_KEY));

    // Nothing present: the deletions fail and nothing else is touched.
    RemoveRegistryRecords();
    EXPECT_FALSE(KeyExists(kHklm, SK_COMPANY_KEY));
    EXPECT_TRUE(KeyExists(kHklm, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));

    // Another product of the company keeps the company key; the rest still goes.
    PutString(kHklm, SK_PRODUCT_KEY, "CD", "E:");
    PutString(kHklm, std::string(SK_COMPANY_KEY) + "\\Other", "V", "kept");
    PutString(kHklm, SK_UNINSTALL_KEY, "UninstallString", "x /u");
    RemoveRegistryRecords();
    EXPECT_FALSE(KeyExists(kHklm, SK_PRODUCT_NAME_KEY));
    EXPECT_FALSE(KeyExists(kHklm, SK_UNINSTALL_KEY));
    EXPECT_EQ("kept", std::string(GetValue(kHklm, std::string(SK_COMPANY_KEY) + "\\Other", "V").bytes.c_str()));
}

// An opening of the dialog records the CD, registers the launcher and resets the handshake; after a
// removal, the next opening does it all again.
TEST_F(Records, EveryOpeningRegistersAgainAfterRemoval) {
    ASSERT_EQ(1, ((CLauncherApp*)AfxGetApp())->LocateExecutable());
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        PutString(kHklm, SK_PRODUCT_KEY, "IsRunningIS", "TRUE");
        CLauncherDlg dlg;
        RunModal(dlg, [&](HWND) {
            EXPECT_EQ(std::string(dlg.m_strExeDir),
                      std::string(GetValue(kHklm, SK_PRODUCT_KEY, "CD").bytes.c_str()));
            EXPECT_EQ("\"" + std::string(dlg.m_strExePath) + "\" /u",
                      std::string(GetValue(kHklm, SK_UNINSTALL_KEY, "UninstallString").bytes.c_str()));
            EXPECT_EQ("FALSE", std::string(GetValue(kHklm, SK_PRODUCT_KEY, "IsRunningIS").bytes.c_str()));
        });
        RemoveRegistryRecords();
        EXPECT_FALSE(KeyExists(kHklm, SK_PRODUCT_KEY));
    }
}
