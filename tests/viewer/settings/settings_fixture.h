// A private registry for each test, with the settings holder closed afterwards.
#pragma once

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "viewer/settings/settings_key.h"

class SettingsTest : public ::testing::Test {
  protected:
    ~SettingsTest() override { CloseSettingsKey(); }

    SettingsKeyHolder* Open() {
        SettingsKeyHolder* holder = OpenSettingsKey();
        EXPECT_NE(holder, nullptr);
        return holder;
    }

    testing_support::TempRegistry registry_;
};
