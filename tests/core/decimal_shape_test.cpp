// The usual shape of an axis's values against readPlainWords: a text that matches is a plain
// decimal it takes, unsigned, with the shape's integer digits and the same leading bytes, and
// every such text of the learnt size with the point in the learnt place matches; for a text that
// matches, the shape gives the very words readPlainWords reads.

#include "decimal_shape.h"
#include "plain_decimal_words.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// Digits with at most one point, at times a sign or another byte, of 1 to 17 bytes.
[[nodiscard]] std::string randomText(std::mt19937_64 &random) {
    static const char kOthers[] = {'.', '-', '+', '/', ',', 'e', ' ', '\0', ':', '\x80', '\xb9'};
    const std::size_t size = 1 + random() % 17;
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        text += static_cast<char>('0' + random() % 10);
    }
    if (random() % 4 != 0) {
        text[random() % size] = '.';
    }
    if (random() % 5 == 0) {
        text[random() % size] = kOthers[random() % sizeof kOthers];
    }
    return text;
}

// The learnt text with one byte changed now and then, so that most differ from it little.
[[nodiscard]] std::string nearText(std::mt19937_64 &random, const std::string &learnt) {
    std::string text = learnt;
    for (char &c : text) {
        if (c != '.' && random() % 3 == 0) {
            c = static_cast<char>('0' + random() % 10);
        }
    }
    if (random() % 4 == 0) {
        text[random() % text.size()] = static_cast<char>(random() % 256);
    }
    return text;
}

// wordsOf against readPlainWords: every field the magnitude and the ends are made from.
void expectSameWords(const velkaro::PlainDecimalWords &shaped,
                     const velkaro::PlainDecimalWords &read, const std::string &text) {
    EXPECT_EQ(shaped.low, read.low) << text;
    EXPECT_EQ(shaped.front, read.front) << text;
    EXPECT_EQ(shaped.digits, read.digits) << text;
    EXPECT_EQ(shaped.size, read.size) << text;
    EXPECT_EQ(shaped.pointAt, read.pointAt) << text;
    EXPECT_EQ(shaped.integerDigits, read.integerDigits) << text;
    EXPECT_FALSE(shaped.negative || shaped.signed_) << text;
    EXPECT_EQ(shaped.magnitude(), read.magnitude()) << text;
    EXPECT_EQ(shaped.leadingBytes(), read.leadingBytes()) << text;
}

// What the shape promises, by readPlainWords: matching means taken, unsigned, with the shape's
// integer digits and the same leading bytes; the same size and the point in the same place, or
// in neither, means matching.
void expectAsReadPlainWords(const velkaro::DecimalShape &shape, const std::string &learnt,
                            const std::string &text) {
    std::uint64_t leading = 0;
    const bool matched = shape.matches(text, leading);
    velkaro::PlainDecimalWords words;
    const bool plain = velkaro::readPlainWords(text, words);
    if (matched) {
        ASSERT_TRUE(plain) << text;
        EXPECT_FALSE(words.signed_) << text;
        EXPECT_EQ(words.integerDigits, shape.integerDigits()) << text;
        EXPECT_EQ(leading, words.leadingBytes()) << text;
        expectSameWords(shape.wordsOf(text), words, text);
    }
    const bool samePlace = text.size() == learnt.size() && text.find('.') == learnt.find('.');
    if (plain && !words.signed_ && samePlace) {
        EXPECT_TRUE(matched) << learnt << " " << text;
    }
}

[[nodiscard]] bool matches(const velkaro::DecimalShape &shape, const std::string &text) {
    std::uint64_t leading = 0;
    return shape.matches(text, leading);
}

TEST(DecimalShape, NothingMatchesBeforeAShapeIsLearnt) {
    velkaro::DecimalShape shape;
    EXPECT_FALSE(matches(shape, ""));
    EXPECT_FALSE(matches(shape, "3515143.5017"));
    shape.learn("-3515143.5017"); // signed: no shape
    shape.learn("1.5");           // under four bytes: no shape
    shape.learn("1e35");
    EXPECT_FALSE(matches(shape, "3515143.5017"));
    EXPECT_FALSE(matches(shape, "1.25"));
}

TEST(DecimalShape, MatchesWhatReadPlainWordsTakesOfTheLearntShape) {
    velkaro::DecimalShape shape;
    shape.learn("516217.3275");
    EXPECT_TRUE(matches(shape, "516399.9999"));
    EXPECT_FALSE(matches(shape, "516399/9999"));
    EXPECT_FALSE(matches(shape, "5163999.999"));
    EXPECT_FALSE(matches(shape, "-16399.9999"));
    EXPECT_FALSE(matches(shape, "516399.99999"));
    shape.learn("30.15"); // below eight bytes, one word
    EXPECT_TRUE(matches(shape, "59.99"));
    EXPECT_FALSE(matches(shape, "59999"));
    EXPECT_FALSE(matches(shape, "5.999"));
}

TEST(DecimalShape, AgreesWithReadPlainWordsOnRandomTexts) {
    std::mt19937_64 random(20261208);
    for (int run = 0; run < 4000; ++run) {
        velkaro::DecimalShape shape;
        std::string learnt = randomText(random);
        shape.learn(learnt);
        velkaro::PlainDecimalWords words;
        if (!velkaro::readPlainWords(learnt, words) || words.signed_ || learnt.size() < 4) {
            learnt.clear(); // no shape was learnt: nothing may match
        }
        for (int i = 0; i < 100; ++i) {
            const std::string text =
                learnt.empty() || random() % 4 == 0 ? randomText(random) : nearText(random, learnt);
            if (learnt.empty()) {
                ASSERT_FALSE(matches(shape, text)) << text;
            } else {
                expectAsReadPlainWords(shape, learnt, text);
            }
        }
    }
}

// The summary's shapes learn again whenever a value does not match: one shape learning text
// after text, long and short in turn, agrees with readPlainWords on the shape it last took.
TEST(DecimalShape, AgreesWithReadPlainWordsWhenLearntAgain) {
    std::mt19937_64 random(8);
    velkaro::DecimalShape shape;
    std::string learnt;
    for (int run = 0; run < 4000; ++run) {
        const std::string text = randomText(random);
        shape.learn(text);
        velkaro::PlainDecimalWords words;
        if (velkaro::readPlainWords(text, words) && !words.signed_ && text.size() >= 4) {
            learnt = text;
        }
        for (int i = 0; i < 50; ++i) {
            const std::string probe =
                learnt.empty() || random() % 4 == 0 ? randomText(random) : nearText(random, learnt);
            if (learnt.empty()) {
                ASSERT_FALSE(matches(shape, probe)) << probe;
            } else {
                expectAsReadPlainWords(shape, learnt, probe);
            }
        }
    }
}

} // namespace
