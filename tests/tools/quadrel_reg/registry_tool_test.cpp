#include "tools/quadrel_reg/registry_tool.h"

#include <gtest/gtest.h>

#include <sstream>

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

}  // namespace
