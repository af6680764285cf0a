#include "platform/registry/hive_file.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/registry/registry.h"

namespace {

using registry::Hive;

// Every hive survives its text form: random keys, names and values of every kind.
TEST(HiveTextTest, RandomHivesSurviveSerialiseAndParse) {
    std::mt19937 rng(1234);
    auto randomText = [&](std::size_t maxLen, bool forKey) {
        std::u16string s;
        const std::size_t len = rng() % (maxLen + 1);
        for (std::size_t i = 0; i < len; ++i) {
            char16_t c;
            switch (rng() % 6) {
                case 0:
                    c = static_cast<char16_t>(u'a' + rng() % 26);
                    break;
                case 1:
                    c = static_cast<char16_t>(0x4E00 + rng() % 500);
                    break;
                case 2:
                    c = u"\"\\=[]@;"[rng() % 7];
                    break;
                case 3:
                    c = static_cast<char16_t>(rng() % 0x20);
                    break;
                case 4:
                    c = static_cast<char16_t>(0xD800 + rng() % 0x800);
                    break;
                default:
                    c = u' ';
                    break;
            }
            if (forKey && (c < 0x20 || (c >= 0xD800 && c <= 0xDFFF) || c == u'\\')) c = u'k';
            s.push_back(c);
        }
        return s;
    };
    for (int round = 0; round < 200; ++round) {
        Hive hive;
        const int keys = 1 + static_cast<int>(rng() % 4);
        for (int k = 0; k < keys; ++k) {
            std::u16string path = u"K" + randomText(6, true);
            if (rng() % 2) path += u"\\" + randomText(6, true) + u"x";
            registry::Key& key = hive.Create(path);
            for (int v = static_cast<int>(rng() % 5); v > 0; --v) {
                const std::u16string name = randomText(8, false);
                switch (rng() % 3) {
                    case 0: {
                        const std::u16string text = randomText(20, false);
                        std::vector<BYTE> data;
                        for (char16_t c : text) {
                            data.push_back(static_cast<BYTE>(c));
                            data.push_back(static_cast<BYTE>(c >> 8));
                        }
                        key.SetValue(name, REG_SZ, data);
                        break;
                    }
                    case 1: {
                        const DWORD d = rng();
                        key.SetValue(name, REG_DWORD,
                                     {BYTE(d), BYTE(d >> 8), BYTE(d >> 16), BYTE(d >> 24)});
                        break;
                    }
                    default: {
                        std::vector<BYTE> data(rng() % 7);
                        for (BYTE& b : data) b = static_cast<BYTE>(rng());
                        key.SetValue(name, rng() % 2 ? REG_BINARY : REG_SZ, data);
                        break;
                    }
                }
            }
        }
        const std::string text = registry::Serialise(hive, "test");
        Hive parsed;
        std::string error;
        ASSERT_TRUE(registry::Parse(text, &parsed, &error)) << error << "\n" << text;
        ASSERT_EQ(parsed.Keys().size(), hive.Keys().size()) << text;
        for (const auto& [folded, key] : hive.Keys()) {
            const registry::Key* other = parsed.Find(key.path);
            ASSERT_NE(other, nullptr) << text;
            ASSERT_EQ(other->values.size(), key.values.size()) << text;
            for (std::size_t i = 0; i < key.values.size(); ++i) {
                EXPECT_EQ(other->values[i].name, key.values[i].name);
                EXPECT_EQ(other->values[i].type, key.values[i].type);
                EXPECT_EQ(other->values[i].data, key.values[i].data);
            }
        }
    }
}

TEST(HiveTextTest, BadLinesAreRejectedWithTheirLineNumber) {
    const char* bad[] = {
        "\"v\"=sz:\"value before any key\"\n",
        "[K]\n\"v\"=dword:4294967296\n",
        "[K]\n\"v\"=dword:-1\n",
        "[K]\n\"v\"=sz:\"unterminated\n",
        "[K]\n\"v\"=sz:\"bad escape \\q\"\n",
        "[K]\n\"v\"=hex(3):\"abc\"\n",
        "[K\n",
        "[K]\n\"v\"=text:\"x\"\n",
        "[K]\n\"v\"=sz:\"\xff\"\n",
        "[K\xC0\xAF]\n",  // an overlong '/'
    };
    for (const char* text : bad) {
        Hive hive;
        std::string error;
        EXPECT_FALSE(registry::Parse(text, &hive, &error)) << text;
        EXPECT_NE(error.find("line "), std::string::npos) << error;
    }
}

}  // namespace
