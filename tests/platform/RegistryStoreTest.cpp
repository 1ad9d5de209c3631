#include "platform/RegistryStore.h"

#include "tests/support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace scr {
namespace {

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", (home.path() + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (home.path() + "/data").c_str(), 1);
    }
    test::TempDir home;
};

TEST_F(RegistryStoreTest, IntegersAndTextsRoundTripAndKeepTheirType) {
    ASSERT_TRUE(WriteRegInteger(RegistryRoot::CurrentUser, "\\Software\\Vantrel\\Demo", "MROP", 1));
    ASSERT_TRUE(WriteRegInteger(RegistryRoot::CurrentUser, "Software\\Vantrel\\Demo", "Mute", -7));
    auto key = RegistryKey::Open(RegistryRoot::CurrentUser, "Software\\Vantrel\\Demo", false);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->WriteString("Text", "a \"quoted\" \\ text\nwith a line break"));

    EXPECT_EQ(ReadRegInteger(RegistryRoot::CurrentUser, "Software\\Vantrel\\Demo", "MROP", 0), 1);
    EXPECT_EQ(ReadRegInteger(RegistryRoot::CurrentUser, "Software\\Vantrel\\Demo", "Mute", 0), -7);
    EXPECT_EQ(key->ReadString("Text"), "a \"quoted\" \\ text\nwith a line break");
    // A text is not an integer, and an integer is not a text.
    EXPECT_FALSE(key->ReadInteger("Text"));
    EXPECT_EQ(ReadRegInteger(RegistryRoot::CurrentUser, "Software\\Vantrel\\Demo", "Text", 42), 42);
    EXPECT_FALSE(key->ReadString("MROP"));
    // The other root is a separate store.
    EXPECT_EQ(ReadRegInteger(RegistryRoot::LocalMachine, "Software\\Vantrel\\Demo", "MROP", 5), 5);
    EXPECT_TRUE(std::filesystem::exists(home.path() + "/config/scrplayer/registry.ini"));
}

TEST_F(RegistryStoreTest, KeyPathsAndValueNamesIgnoreCase) {
    ASSERT_TRUE(
        WriteRegInteger(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Uninstall\\Demo", "Value", 3));
    EXPECT_EQ(ReadRegInteger(RegistryRoot::LocalMachine, "software\\MICROSOFT\\uninstall\\demo", "VALUE", 0),
              3);
    // Rewriting under another spelling replaces the value rather than adding one.
    ASSERT_TRUE(
        WriteRegInteger(RegistryRoot::LocalMachine, "Software\\Microsoft\\Uninstall\\DEMO", "value", 4));
    EXPECT_EQ(ReadRegInteger(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Uninstall\\Demo", "Value", 0),
              4);
}

TEST_F(RegistryStoreTest, OpenWithoutCreateNeedsTheKeyAndDeleteRemovesSubKeys) {
    EXPECT_FALSE(RegistryKey::Open(RegistryRoot::CurrentUser, "Software\\Missing", false));
    EXPECT_EQ(ReadRegInteger(RegistryRoot::CurrentUser, "Software\\Missing", "X", 9), 9);
    ASSERT_TRUE(RegistryKey::Open(RegistryRoot::CurrentUser, "Software\\A\\B", true));
    EXPECT_TRUE(RegistryKeyExists(RegistryRoot::CurrentUser, "Software\\A"));
    EXPECT_TRUE(DeleteRegistryKey(RegistryRoot::CurrentUser, "software\\a"));
    EXPECT_FALSE(RegistryKeyExists(RegistryRoot::CurrentUser, "Software\\A\\B"));
    EXPECT_FALSE(DeleteRegistryKey(RegistryRoot::CurrentUser, "Software\\A"));
}

TEST_F(RegistryStoreTest, DeleteValueAndDamagedLinesAreIgnored) {
    const std::string file = RegistryFilePath(RegistryRoot::CurrentUser);
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    test::WriteFile(file, {});
    {
        std::string text =
            "[Software\\K]\n\"Good\"=dword:0000000a\n\"Bad\"=dword:zz\nnot a line\n\"Open=\"x\n";
        test::WriteFile(file, std::vector<uint8_t>(text.begin(), text.end()));
    }
    auto key = RegistryKey::Open(RegistryRoot::CurrentUser, "Software\\K", false);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->ReadInteger("Good"), 10);
    EXPECT_FALSE(key->ValueExists("Bad"));
    EXPECT_TRUE(key->DeleteValue("good"));
    EXPECT_FALSE(key->ValueExists("Good"));
    EXPECT_FALSE(key->DeleteValue("Good"));
}

// The store's lines: every line of the file is blank, a comment, a key or a value.
std::vector<std::string> StoreLines() {
    const std::vector<uint8_t> bytes = test::ReadFile(RegistryFilePath(RegistryRoot::CurrentUser));
    std::vector<std::string> lines;
    std::string line;
    for (uint8_t b : bytes) {
        if (b == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(b);
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

TEST_F(RegistryStoreTest, KeyPathsAndValueNamesWithLineBreaksOrBracketsStayOneKeyAndOneValue) {
    const std::string parts[] = {"\r\n[HKEY_CURRENT_USER\\Evil]\r\nx=1",
                                 "a[b",
                                 "a]b",
                                 "a=b",
                                 "cr\rlf\n",
                                 "100%",
                                 "%5B%0A%",
                                 "[Whole]"};
    for (const std::string& part : parts) {
        const std::string path = "Software\\Vantrel\\" + part;
        std::filesystem::remove(RegistryFilePath(RegistryRoot::CurrentUser));
        ASSERT_TRUE(WriteRegInteger(RegistryRoot::CurrentUser, path, part, 7));
        EXPECT_EQ(ReadRegInteger(RegistryRoot::CurrentUser, path, part, 0), 7) << part;
        EXPECT_FALSE(RegistryKeyExists(RegistryRoot::CurrentUser, "HKEY_CURRENT_USER")) << part;
        int keys = 0, values = 0;
        for (const std::string& line : StoreLines()) {
            if (line.empty() || line[0] == ';') continue;
            if (line[0] == '[')
                ++keys;
            else if (line[0] == '"')
                ++values;
            else
                ADD_FAILURE() << "stray line " << testing::PrintToString(line) << " for "
                              << testing::PrintToString(part);
        }
        EXPECT_EQ(keys, 1) << testing::PrintToString(part);
        EXPECT_EQ(values, 1) << testing::PrintToString(part);
    }
}

TEST_F(RegistryStoreTest, StoreFilesOfPlainKeysReadAsBefore) {
    const std::string file = RegistryFilePath(RegistryRoot::CurrentUser);
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    const std::string text = "[Software\\Vantrel\\100% Fun (2) 'a', b; c]\n\"MROP\"=dword:00000001\n"
                             "[Software\\Vantrel\\Caf\xE9]\n\"Mute\"=dword:00000001\n";
    test::WriteFile(file, std::vector<uint8_t>(text.begin(), text.end()));
    EXPECT_EQ(
        ReadRegInteger(RegistryRoot::CurrentUser, "Software\\Vantrel\\100% Fun (2) 'a', b; c", "MROP", 0), 1);
    EXPECT_EQ(ReadRegInteger(RegistryRoot::CurrentUser, "Software\\Vantrel\\Caf\xE9", "Mute", 0), 1);
    // Rewritten, keys without special characters keep their lines.
    ASSERT_TRUE(WriteRegInteger(RegistryRoot::CurrentUser, "Software\\Vantrel\\Caf\xE9", "MRA", 0));
    const std::vector<std::string> lines = StoreLines();
    for (const char* key : {"[Software\\Vantrel\\100% Fun (2) 'a', b; c]", "[Software\\Vantrel\\Caf\xE9]"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), key), lines.end()) << key;
}

TEST_F(RegistryStoreTest, ConcurrentWritersLoseNothing) {
    constexpr int kWriters = 4;
    constexpr int kValuesEach = 25;
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = true;
            for (int i = 0; i < kValuesEach; ++i)
                ok = ok && WriteRegInteger(RegistryRoot::CurrentUser, "Software\\Race",
                                           "w" + std::to_string(w) + "_" + std::to_string(i), i);
            _exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int w = 0; w < kWriters; ++w)
        for (int i = 0; i < kValuesEach; ++i)
            EXPECT_EQ(ReadRegInteger(RegistryRoot::CurrentUser, "Software\\Race",
                                     "w" + std::to_string(w) + "_" + std::to_string(i), -1),
                      i);
    // No temporary files are left behind.
    int files = 0;
    for (auto& entry : std::filesystem::directory_iterator(home.path() + "/config/scrplayer")) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 2); // registry.ini and its lock file
}

} // namespace
} // namespace scr
