// Test fixture: the component runtime initialised on the test thread and the media runtime's
// classes registered.
#pragma once

#include <gtest/gtest.h>

#include "platform/com/runtime.h"
#include "platform/media/media_runtime.h"

namespace media_test {

class MediaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        RegisterMediaRuntime();
    }
    void TearDown() override { CoUninitialize(); }
};

}  // namespace media_test
