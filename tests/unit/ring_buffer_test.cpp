#include <gtest/gtest.h>

#include <string>

#include "connections/ring_buffer.h"

namespace {

class RingTest : public ::testing::Test {
protected:
    void SetUp() override { ring_setup(ring, storage, sizeof(storage)); }
    std::string TakeAll() {
        uint8_t out[64];
        uint32_t n = ring_get_bytes(ring, out, sizeof(out));
        return std::string(reinterpret_cast<char*>(out), n);
    }
    void Put(const std::string& text) {
        ring_put_bytes(ring, reinterpret_cast<const uint8_t*>(text.data()), static_cast<uint32_t>(text.size()));
    }
    uint8_t storage[8];
    RingBuffer ring;
};

TEST_F(RingTest, FullRingCountsItsSizeAndEmptiesBackToBottom) {
    Put("abcdefgh");
    EXPECT_EQ(ring.consume, ring.supply);
    EXPECT_EQ(ring_data_count(ring), 8u);
    EXPECT_EQ(ring_free_count(ring), 0u);
    EXPECT_EQ(ring_free_contiguous(ring), 0u);
    ring_advance_consume(ring, 8);
    EXPECT_EQ(ring.consume, ring.bottom);
    EXPECT_EQ(ring.supply, ring.bottom);
    EXPECT_EQ(ring_free_count(ring), 8u);
    EXPECT_EQ(ring_data_count(ring), 0u);
}

TEST_F(RingTest, DataAcrossTheTopIsStoredInTwoPiecesAndReadInOrder) {
    Put("123456");
    ring_advance_consume(ring, 5);  // one byte left at offset 5
    EXPECT_EQ(ring_free_contiguous(ring), 2u);
    Put("abcde");                   // 2 bytes up to top, 3 from bottom
    EXPECT_EQ(ring.supply, ring.bottom + 3);
    EXPECT_EQ(ring_data_count(ring), 6u);
    EXPECT_EQ(ring_data_contiguous(ring), 3u);  // offset 5 up to top
    EXPECT_EQ(TakeAll(), "6abcde");
}

TEST_F(RingTest, PutStopsAtFullAndDropsTheRest) {
    Put("1234");
    EXPECT_EQ(ring_put_bytes(ring, reinterpret_cast<const uint8_t*>("abcdefgh"), 8), 4u);
    EXPECT_EQ(TakeAll(), "1234abcd");
}

TEST_F(RingTest, MarkWithSupplyAtBottomIsTheLastByteOfStorage) {
    ring_set_mark(ring);
    EXPECT_EQ(ring.mark, ring.top - 1);
}

TEST_F(RingTest, ConsumingPastTheMarkClearsIt) {
    Put("abc");
    ring_set_mark(ring);                      // on 'c'
    EXPECT_EQ(ring_data_count(ring), 2u);     // up to the mark
    EXPECT_EQ(ring_data_contiguous(ring), 2u);
    ring_advance_consume(ring, 1);
    EXPECT_NE(ring.mark, nullptr);
    Put("de");
    ring_advance_consume(ring, 2);            // past the mark
    EXPECT_EQ(ring.mark, nullptr);
    EXPECT_EQ(ring_data_count(ring), 2u);     // up to supply again
}

}  // namespace
