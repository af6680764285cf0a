#include "tools/quadrel_reg/registry_tool.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/runtime.h"
#include "tests/platform/com/test_counter.h"
#include "tests/support/temp_dir.h"

namespace {

class RegistryToolTest : public ::testing::Test {
  protected:
    int Run(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        return RunRegistryTool(args, out_, err_);
    }
    testing_support::TempRegistry registry_;
    std::ostringstream out_, err_;
};

TEST_F(RegistryToolTest, SetThenQueryShowsOneLinePerValueWithNumbersInDecimal) {
    const std::string key = "HKCU\\Software\\Corvane\\Grabber";
    ASSERT_EQ(Run({"set", key, "Channel I Name", "--sz", "前门 1"}), 0) << err_.str();
    ASSERT_EQ(Run({"set", key, "Login Timeout", "--dword", "0x10"}), 0) << err_.str();
    ASSERT_EQ(Run({"set", key, "Max", "--dword", "4294967295"}), 0) << err_.str();
    ASSERT_EQ(Run({"set", key, "Padded", "--dword", "010"}), 0) << err_.str();
    ASSERT_EQ(Run({"query", key}), 0) << err_.str();
    EXPECT_EQ(out_.str(), key +
                              "\n"
                              "    Channel I Name    REG_SZ    前门 1\n"
                              "    Login Timeout    REG_DWORD    16\n"
                              "    Max    REG_DWORD    4294967295\n"
                              "    Padded    REG_DWORD    10\n");
    ASSERT_EQ(Run({"query", "HKEY_CURRENT_USER\\Software"}), 0);
    EXPECT_NE(out_.str().find("HKEY_CURRENT_USER\\Software\\Corvane\n"), std::string::npos)
        << out_.str();

    ASSERT_EQ(Run({"delete", key, "Max"}), 0);
    ASSERT_EQ(Run({"query", key}), 0);
    EXPECT_EQ(out_.str().find("Max"), std::string::npos);
    ASSERT_EQ(Run({"delete", "HKCU\\Software\\Corvane"}), 0);
    EXPECT_EQ(Run({"query", key}), 1);
    EXPECT_NE(err_.str().find("not found"), std::string::npos);
}

TEST_F(RegistryToolTest, BadInputGetsAClearMessageAndANonZeroStatus) {
    EXPECT_EQ(Run({}), 2);
    EXPECT_NE(err_.str().find("usage"), std::string::npos);
    EXPECT_EQ(Run({"query", "HKLM\\Software"}), 2);
    EXPECT_NE(err_.str().find("unknown hive"), std::string::npos);
    for (const char* bad : {"-1", "4294967296", "12abc", "", "0x"}) {
        EXPECT_EQ(Run({"set", "HKCU\\K", "n", "--dword", bad}), 2) << bad;
        EXPECT_NE(err_.str().find("not a number"), std::string::npos) << bad;
    }
    EXPECT_EQ(Run({"delete", "HKCU\\Missing", "x"}), 1);
    EXPECT_EQ(Run({"delete", "HKCU\\"}), 2) << "a whole hive must not be deleted";
    EXPECT_EQ(Run({"register", "/nonexistent/lib.so"}), 1);
    EXPECT_NE(err_.str().find("cannot load"), std::string::npos);
}

TEST_F(RegistryToolTest, AUsageErrorSaysWhatWasWrongBeforeTheUsage) {
    const auto FirstLine = [this] { return err_.str().substr(0, err_.str().find('\n')); };
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "quadrel-reg: a command is missing"},
        {{"frobnicate"}, "quadrel-reg: unknown command \"frobnicate\""},
        {{"query"}, "quadrel-reg: query takes one KEY"},
        {{"set", "HKCU\\K", "n", "--text", "x"},
         "quadrel-reg: set takes KEY NAME and --sz TEXT or --dword N"},
        {{"delete"}, "quadrel-reg: delete takes KEY and, for one value, its NAME"},
        {{"register"}, "quadrel-reg: the library is missing"},
        {{"register", "--unregister"}, "quadrel-reg: the library is missing"},
        {{"register", "a.so", "b.so"}, "quadrel-reg: register takes one LIBRARY"},
    };
    for (const auto& [args, message] : cases) {
        EXPECT_EQ(Run(args), 2) << message;
        EXPECT_EQ(FirstLine(), message);
        EXPECT_NE(err_.str().find("usage: quadrel-reg"), std::string::npos) << message;
    }
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_EQ(out_.str(), "quadrel-reg " QUADREL_VERSION "\n");
}

TEST_F(RegistryToolTest, ABadArgumentIsQuotedShortAndPrintable) {
    // A long argument with an escape sequence, a bell and a byte that is not UTF-8.
    const std::string key = "HKLM\\\x1b[31m\a\xff" + std::string(100000, 'k');
    EXPECT_EQ(Run({"query", key}), 2);
    const std::string message = err_.str();
    EXPECT_LT(message.size(), 200u) << message.size();
    EXPECT_EQ(message.find('\x1b'), std::string::npos);
    EXPECT_EQ(message.find('\a'), std::string::npos);
    EXPECT_EQ(message.find('\xff'), std::string::npos);
    EXPECT_NE(message.find("HKLM\\?[31m??kkk"), std::string::npos) << message;
    EXPECT_NE(message.find("...\n"), std::string::npos) << message;
    // Characters beyond ASCII are shown as they are.
    EXPECT_EQ(Run({"frobnicate-前门"}), 2);
    EXPECT_NE(err_.str().find("\"frobnicate-前门\""), std::string::npos) << err_.str();
}

TEST_F(RegistryToolTest, RegistersAServerThatTheRuntimeThenCreates) {
    ASSERT_EQ(Run({"register", TEST_INPROC_SERVER}), 0) << err_.str();
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    {
        ComPtr<ICounter> counter;
        ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, &counter),
                  S_OK);
        EXPECT_EQ(counter->Increment(), 1);
    }
    CoUninitialize();
    ASSERT_EQ(Run({"register", "--unregister", TEST_INPROC_SERVER}), 0) << err_.str();
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    ComPtr<ICounter> counter;
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, &counter),
              REGDB_E_CLASSNOTREG);
    CoUninitialize();
}

TEST_F(RegistryToolTest, NamesOverTheLimitsAreRefusedClearlyAndThoseInTheFileAreAllListed) {
    const std::string tooLongValue(16384, 'v');
    EXPECT_EQ(Run({"set", "HKCU\\K", tooLongValue, "--dword", "1"}), 2);
    EXPECT_NE(err_.str().find("a value name has at most 16383 characters; this one has 16384"),
              std::string::npos)
        << err_.str().substr(0, 200);
    EXPECT_LT(err_.str().size(), 300u);
    EXPECT_EQ(Run({"set", "HKCU\\K\\" + std::string(256, 'k'), "n", "--dword", "1"}), 2);
    EXPECT_NE(err_.str().find("a key name has at most 255 characters; this one has 256"),
              std::string::npos)
        << err_.str().substr(0, 200);
    EXPECT_EQ(Run({"query", "HKCU\\K"}), 1);  // nothing was written

    // A file an editor wrote: a 20,000-character value name, a 300-character sub-key, and
    // sub-keys after it.
    const std::string longValue(20000, 'v');
    const std::string longKey(300, 'k');
    testing_support::WriteFile(registry_.UserHive(),
                               "[R]\n\"" + longValue +
                                   "\"=dword:7\n\"after\"=dword:8\n[R\\a]\n[R\\" + longKey +
                                   "]\n[R\\z]\n");
    ASSERT_EQ(Run({"query", "HKCU\\R"}), 0) << err_.str();
    EXPECT_EQ(out_.str(), "HKCU\\R\n    " + longValue + "    REG_DWORD    7\n" +
                              "    after    REG_DWORD    8\n" + "HKCU\\R\\a\n" + "HKCU\\R\\" +
                              longKey + "\n" + "HKCU\\R\\z\n");
}

TEST_F(RegistryToolTest, QueryShowsControlCharactersOfStoredTextAsEscapes) {
    // Raw control bytes in the file (an editor's), and escapes that stand for them.
    testing_support::WriteFile(registry_.UserHive(),
                               "[K]\n\"t\x1b]0;x\x07\"=sz:\"a\x1b[2Jb\\nc\\u0085d\te\"\n");
    ASSERT_EQ(Run({"query", "HKCU\\K"}), 0) << err_.str();
    EXPECT_EQ(out_.str(),
              "HKCU\\K\n    t\\u001B]0;x\\u0007    REG_SZ    a\\u001B[2Jb\\nc\\u0085d\\te\n");
}

}  // namespace
