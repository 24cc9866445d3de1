// SPDX-License-Identifier: Apache-2.0
#include "serial/line_assembler.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace qn470 {
namespace {

using Lines = std::vector<std::string>;

Lines feedAll(LineAssembler& assembler, const std::vector<std::string>& chunks) {
    Lines lines;
    for (const std::string& chunk : chunks) {
        const Lines more = assembler.feed(chunk.data(), chunk.size());
        lines.insert(lines.end(), more.begin(), more.end());
    }
    return lines;
}

struct AssemblyCase {
    const char* name;
    std::vector<std::string> chunks;
    Lines lines;
    std::string pending;
};

std::string repeat(char c, std::size_t n) {
    return std::string(n, c);
}

class LineAssemblerCases : public testing::TestWithParam<AssemblyCase> {};

TEST_P(LineAssemblerCases, GivesLinesAndKeepsTail) {
    LineAssembler assembler;
    EXPECT_EQ(feedAll(assembler, GetParam().chunks), GetParam().lines);
    EXPECT_EQ(assembler.pending(), GetParam().pending);
}

const AssemblyCase kAssemblyCases[] = {
    {"LongestWholeLine", {repeat('a', 248) + "\r\n"}, {repeat('a', 248)}, ""},
    {"OverlongLineInPieces", {repeat('b', 300)}, {repeat('b', 250)}, repeat('b', 50)},
    {"OverlongLineFinished", {repeat('b', 300), "\r\n"}, {repeat('b', 250), repeat('b', 50)}, ""},
    // 249 characters and CR fill the accumulator before the LF arrives: the CR gets its LF and
    // the real LF is left over for the next line.
    {"CrLfAcrossTheLimit",
     {repeat('c', 249) + "\r\n" + "next\r\n"},
     {repeat('c', 249), "\nnext"},
     ""},
    {"LoneLfInFullAccumulator", {"abc\n" + repeat('x', 246)}, {"abc"}, repeat('x', 246)},
    {"LoneLfWaitsWhileNotFull", {"abc\nxyz"}, {}, "abc\nxyz"},
    {"LoneCrInFullAccumulator", {"abc\r" + repeat('x', 246)}, {"abc"}, repeat('x', 246)},
    {"CrRuleBeforeLfRule", {"a\nb\rc" + repeat('x', 245)}, {"a\nb"}, "c" + repeat('x', 245)},
    {"CrLfSplitOverReads", {"KXs,1\r", "\nKXs,2\r\n"}, {"KXs,1", "KXs,2"}, ""},
    {"SeveralLinesAndEmptyOnes", {"one\r\n\r\ntwo\r\nthr"}, {"one", "", "two"}, "thr"},
    {"NulBytesDropped",
     {std::string("ab\0c\r\nd", 7), std::string("\0e\r\n\0", 5)},
     {"abc", "de"},
     ""},
};

INSTANTIATE_TEST_SUITE_P(Serial, LineAssemblerCases, testing::ValuesIn(kAssemblyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LineAssembler, ResetForgetsTail) {
    LineAssembler assembler;
    assembler.feed("half a li", 9);
    assembler.reset();
    const std::string rest = "ne\r\nfull\r\n";
    EXPECT_EQ(assembler.feed(rest.data(), rest.size()), (Lines{"ne", "full"}));
}

// A plain model of the receive loop, one read at a time: read at most min(64, 250 - length)
// bytes, append, force a line end when full, split, repeat.
struct ReferenceLoop {
    std::string accumulator;
    Lines lines;

    void run(const std::string& stream) {
        std::size_t offset = 0;
        while (offset < stream.size()) {
            const std::size_t request = std::min<std::size_t>(64, 250 - accumulator.size());
            const std::string read = stream.substr(offset, request);
            offset += read.size();
            for (char c : read) {
                if (c != '\0') {
                    accumulator += c;
                }
            }
            if (accumulator.size() == 250 && accumulator.find("\r\n") == std::string::npos) {
                const std::size_t cr = accumulator.find('\r');
                const std::size_t lf = accumulator.find('\n');
                if (cr != std::string::npos) {
                    accumulator.insert(cr + 1, "\n");
                } else if (lf != std::string::npos) {
                    accumulator.insert(lf, "\r");
                } else {
                    accumulator += "\r\n";
                }
            }
            for (std::size_t pair = accumulator.find("\r\n"); pair != std::string::npos;
                 pair = accumulator.find("\r\n")) {
                lines.push_back(accumulator.substr(0, pair));
                accumulator = accumulator.substr(pair + 2);
            }
        }
    }
};

std::string randomStream(std::mt19937& random) {
    // Mostly short lines, with stray CRs, LFs and NULs and now and then a very long run.
    static const char kAlphabet[] = "abcdefgh,=$GP\r\n\r\n\r\n\r\n\n\r";
    std::uniform_int_distribution<std::size_t> length(0, 2000);
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(kAlphabet) - 2);
    std::uniform_int_distribution<int> percent(0, 99);
    std::string stream;
    const std::size_t size = length(random);
    while (stream.size() < size) {
        const int roll = percent(random);
        if (roll < 2) {
            stream += std::string(300, 'L');
        } else if (roll < 4) {
            stream += '\0';
        } else {
            stream += kAlphabet[pick(random)];
        }
    }
    return stream;
}

TEST(LineAssembler, AnyChunkingGivesTheReferenceLines) {
    std::mt19937 random(470);
    std::uniform_int_distribution<std::size_t> chunkSize(1, 300);
    for (int round = 0; round < 300; ++round) {
        const std::string stream = randomStream(random);
        ReferenceLoop reference;
        reference.run(stream);
        for (int chunking = 0; chunking < 4; ++chunking) {
            LineAssembler assembler;
            Lines lines;
            for (std::size_t offset = 0; offset < stream.size();) {
                const std::size_t size = std::min(chunkSize(random), stream.size() - offset);
                const Lines more = assembler.feed(stream.data() + offset, size);
                lines.insert(lines.end(), more.begin(), more.end());
                offset += size;
            }
            ASSERT_EQ(lines, reference.lines) << "round " << round << " chunking " << chunking;
            ASSERT_EQ(assembler.pending(), reference.accumulator);
            for (const std::string& line : lines) {
                ASSERT_LE(line.size(), LineAssembler::kMaxLength);
            }
        }
    }
}

}  // namespace
}  // namespace qn470
