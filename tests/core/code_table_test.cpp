// The table that finds a code's entry: every code stored is found, as itself, through growth.

#include "code_table.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// Stores 5,000 codes of every length and finds each of them: through growth from the smallest
// table, or in a table with room for them all from the start.
void expectEveryCodeFound(velkaro::CodeTable &table) {
    std::vector<std::string> codes;
    const auto find = [&](const std::string &code) {
        return table.find(velkaro::CodeTable::keyOf(code),
                          [&](std::uint32_t number) { return codes[number] == code; });
    };
    for (int i = 0; i < 5000; ++i) {
        // Names as surveyors give them, of every length from 0 to 20 bytes.
        std::string code = std::string(static_cast<std::size_t>(i % 17), 'P') + std::to_string(i);
        code.resize(static_cast<std::size_t>(i % 21), '0');
        if (find(code) != velkaro::CodeTable::kAbsent) {
            continue; // cut short to a code made before
        }
        table.insert(velkaro::CodeTable::keyOf(code), static_cast<std::uint32_t>(codes.size()));
        codes.push_back(code);
    }
    ASSERT_GT(codes.size(), 1000u);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        EXPECT_EQ(find(codes[i]), i) << codes[i];
    }
    EXPECT_EQ(find("Q0"), velkaro::CodeTable::kAbsent);
}

TEST(CodeTable, FindsEveryCodeStoredAndNoOther) {
    velkaro::CodeTable growing;
    expectEveryCodeFound(growing);
    velkaro::CodeTable roomy(5000);
    expectEveryCodeFound(roomy);
    velkaro::CodeTable tooSmall(100); // grows from a larger start
    expectEveryCodeFound(tooSmall);
}

TEST(CodeTable, HashesTellApartCodesThatDifferInOneByte) {
    const char *const pairs[][2] = {{"", "\0"},
                                    {"A", "B"},
                                    {"AB", "BA"},
                                    {"ABC", "ABD"},
                                    {"ABCD", "ABCE"},
                                    {"P1234567", "P1234568"},
                                    {"P12345678", "Q12345678"},
                                    {"控制点10", "控制点11"}};
    for (const auto &pair : pairs) {
        const std::string_view first(pair[0]);
        const std::string_view second(pair[1],
                                      std::string_view(pair[1]).size() + (first.empty() ? 1 : 0));
        EXPECT_NE(velkaro::hashBytes(first), velkaro::hashBytes(second)) << pair[0];
    }
}

} // namespace

namespace {

// Codes of up to eight bytes are found by their key alone: random ones of every byte, zero bytes
// and bytes from 0x80 up included, against a map.
TEST(CodeTable, ShortCodesAreToldApartByTheirKeys) {
    std::mt19937_64 random(5);
    const std::string alphabet("AB\0\x80\xff", 5);
    velkaro::CodeTable table;
    std::map<std::string, std::uint32_t> expected;
    for (int i = 0; i < 20000; ++i) {
        std::string code;
        for (std::size_t k = random() % 9; k > 0; --k) {
            code += alphabet[random() % alphabet.size()];
        }
        const velkaro::CodeTable::Key key = velkaro::CodeTable::keyOf(code);
        ASSERT_TRUE(velkaro::CodeTable::isWhole(key));
        const std::uint32_t found = table.find(key, [](std::uint32_t) { return true; });
        const auto known = expected.find(code);
        ASSERT_EQ(found, known == expected.end() ? velkaro::CodeTable::kAbsent : known->second)
            << code.size();
        if (known == expected.end()) {
            const auto number = static_cast<std::uint32_t>(expected.size());
            table.insert(key, number);
            expected.emplace(code, number);
        }
    }
    EXPECT_GT(expected.size(), 5000u);
}

// Below four bytes the key is made differently from longer codes: every code of one and two
// bytes, and of three bytes every one over a set of bytes that holds zero, 0x80 and 0xFF, has a
// key of its own.
TEST(CodeTable, CodesUnderFourBytesHaveKeysOfTheirOwn) {
    std::vector<std::string> codes;
    for (int a = 0; a < 256; ++a) {
        codes.emplace_back(1, static_cast<char>(a));
        for (int b = 0; b < 256; ++b) {
            codes.push_back({static_cast<char>(a), static_cast<char>(b)});
        }
    }
    const std::string bytes("\0\x01\x7f\x80\xfe\xff"
                            "AZaz09",
                            12);
    for (const char a : bytes) {
        for (const char b : bytes) {
            for (const char c : bytes) {
                codes.push_back({a, b, c});
            }
        }
    }
    std::map<std::pair<std::uint64_t, std::uint32_t>, std::string> owners;
    for (const std::string &code : codes) {
        const velkaro::CodeTable::Key key = velkaro::CodeTable::keyOf(code);
        const auto [at, added] = owners.emplace(std::pair{key.word, key.size}, code);
        ASSERT_TRUE(added) << "a key shared by codes of " << code.size() << " and "
                           << at->second.size() << " bytes";
    }
    EXPECT_EQ(owners.size(), 256u + 65536u + 12u * 12u * 12u);
}

} // namespace
