// The registry key accessor against Wine's real registry, on scratch keys under HKLM.
#include "registry/registry_key.h"
#include "registry_scratch.h"

#include <gtest/gtest.h>

namespace {
const char kSentinel[] = "left unchanged";
}

TEST(RegistryKey, ReadingFromAMissingKeyCreatesItAndEveryParentEmpty) {
    ScratchKey scratch("missing");
    std::string path = scratch.path() + "\\a\\b";
    CRegistryKey key(HKEY_LOCAL_MACHINE, path.c_str());
    CString value(kSentinel);
    EXPECT_EQ(1, key.GetString("Anything", value));
    EXPECT_STREQ(kSentinel, value);
    EXPECT_EQ(nullptr, key.m_hKey);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, scratch.path() + "\\a"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, path));
    EXPECT_TRUE(ValueNames(HKEY_LOCAL_MACHINE, path).empty());
}

struct ReadCase {
    const char* name;
    DWORD type;
    std::string bytes; // as stored
    int result;
    std::string text; // what the read gives; the sentinel when it must be left alone
};

TEST(RegistryKey, GetStringReadsRegSzUpToTheFirstZeroOnly) {
    const ReadCase cases[] = {
        {"plain", REG_SZ, std::string("CD\0", 3), 0, "CD"},
        {"zero-length data", REG_SZ, std::string(), 0, ""},
        {"only a zero byte", REG_SZ, std::string("\0", 1), 0, ""},
        {"no terminating zero", REG_SZ, "ABC", 0, "ABC"},
        {"embedded zero", REG_SZ, std::string("TR\0UE\0", 6), 0, "TR"},
        {"line feed kept", REG_SZ, std::string("a\nb\0", 4), 0, "a\nb"},
        {"expand string", REG_EXPAND_SZ, std::string("%TEMP%\0", 7), 1, kSentinel},
        {"dword", REG_DWORD, std::string("\1\0\0\0", 4), 1, kSentinel},
        {"binary", REG_BINARY, "NA", 1, kSentinel},
        {"multi string", REG_MULTI_SZ, std::string("a\0b\0\0", 5), 1, kSentinel},
    };
    ScratchKey scratch("read");
    CRegistryKey key(HKEY_LOCAL_MACHINE, scratch.path().c_str());
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        PutValue(HKEY_LOCAL_MACHINE, scratch.path(), c.name, c.type, c.bytes);
        CString value(kSentinel);
        EXPECT_EQ(c.result, key.GetString(c.name, value));
        EXPECT_EQ(c.text, std::string((const char*)value, value.GetLength()));
        EXPECT_EQ(nullptr, key.m_hKey);
    }
    CString value(kSentinel);
    EXPECT_EQ(1, key.GetString("no such value", value));
    EXPECT_STREQ(kSentinel, value);
}

TEST(RegistryKey, GetStringReadsAMegabyteWhole) {
    ScratchKey scratch("large");
    std::string big(1 << 20, 'x');
    for (size_t i = 0; i < big.size(); i += 4096)
        big[i] = (char)('a' + (i / 4096) % 26);
    PutString(HKEY_LOCAL_MACHINE, scratch.path(), "Big", big);
    CRegistryKey key(HKEY_LOCAL_MACHINE, scratch.path().c_str());
    CString value;
    ASSERT_EQ(0, key.GetString("Big", value));
    EXPECT_EQ(big.size(), (size_t)value.GetLength());
    EXPECT_TRUE(big == (const char*)value);
}

struct WriteCase {
    const char* text;
    std::string stored;
};

TEST(RegistryKey, SetStringStoresTheTextAndOneZeroAsRegSz) {
    const WriteCase cases[] = {
        {"", std::string("\0", 1)},
        {"TRUE", std::string("TRUE\0", 5)},
        {"C:\\Program Files\\x.exe /u", std::string("C:\\Program Files\\x.exe /u") + '\0'},
    };
    ScratchKey scratch("write");
    CRegistryKey key(HKEY_LOCAL_MACHINE, scratch.path().c_str());
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(0, key.SetString("Value", c.text));
        EXPECT_EQ(nullptr, key.m_hKey);
        RawValue raw = GetValue(HKEY_LOCAL_MACHINE, scratch.path(), "Value");
        EXPECT_EQ((DWORD)REG_SZ, raw.type);
        EXPECT_EQ(c.stored, raw.bytes);
    }
}

TEST(RegistryKey, SetStringReplacesAValueOfAnyOtherType) {
    ScratchKey scratch("replace");
    const DWORD types[] = {REG_DWORD, REG_EXPAND_SZ, REG_BINARY, REG_MULTI_SZ};
    CRegistryKey key(HKEY_LOCAL_MACHINE, scratch.path().c_str());
    for (DWORD type : types) {
        SCOPED_TRACE(type);
        PutValue(HKEY_LOCAL_MACHINE, scratch.path(), "V", type, std::string("\1\0\0\0", 4));
        EXPECT_EQ(0, key.SetString("V", "FALSE"));
        RawValue raw = GetValue(HKEY_LOCAL_MACHINE, scratch.path(), "V");
        EXPECT_EQ((DWORD)REG_SZ, raw.type);
        EXPECT_EQ(std::string("FALSE\0", 6), raw.bytes);
    }
}

// A root that is no key at all: the key cannot be opened or created, nothing is read or written.
TEST(RegistryKey, AKeyThatCannotBeOpenedFailsEveryOperation) {
    CRegistryKey key((HKEY)(ULONG_PTR)0x1234, "SOFTWARE\\SkellionTests\\unopenable");
    CString value(kSentinel);
    EXPECT_EQ(1, key.GetString("V", value));
    EXPECT_STREQ(kSentinel, value);
    EXPECT_EQ(nullptr, key.m_hKey);
    EXPECT_EQ(1, key.SetString("V", "x"));
    EXPECT_EQ(nullptr, key.m_hKey);
    EXPECT_EQ(1, key.DeleteKey());
    EXPECT_EQ(1, key.Open());
    EXPECT_EQ(nullptr, key.m_hKey);
}

TEST(RegistryKey, DeleteKeyNeedsNoOpenAndFailsOnceGone) {
    ScratchKey scratch("delete");
    PutString(HKEY_LOCAL_MACHINE, scratch.path() + "\\Leaf", "V", "x");
    {
        CRegistryKey key(HKEY_LOCAL_MACHINE, (scratch.path() + "\\Leaf").c_str());
        EXPECT_EQ(0, key.DeleteKey());
        EXPECT_EQ(nullptr, key.m_hKey);
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, scratch.path() + "\\Leaf"));
        EXPECT_EQ(1, key.DeleteKey());
    }
    // Constructing and destroying a key object touches nothing.
    { CRegistryKey untouched(HKEY_LOCAL_MACHINE, (scratch.path() + "\\Never").c_str()); }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, scratch.path() + "\\Never"));
}

TEST(RegistryKey, OpenAndCloseLeaveTheHandleNull) {
    ScratchKey scratch("openclose");
    CRegistryKey key(HKEY_LOCAL_MACHINE, scratch.path().c_str());
    ASSERT_EQ(0, key.Open());
    EXPECT_NE(nullptr, key.m_hKey);
    EXPECT_EQ(0, key.Close());
    EXPECT_EQ(nullptr, key.m_hKey);
}
