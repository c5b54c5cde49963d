// A fixed-size circular byte buffer over storage owned by the caller.
//
// consume == supply means empty or full; the two tick stamps tell which: the ring is full when the
// last supply happened after the last consume. Both pointers always stay inside [bottom, top).
#pragma once

#include <cstdint>

struct RingBuffer {
    uint8_t* consume;      // next byte to take out
    uint8_t* supply;       // next free byte to fill
    uint8_t* bottom;       // first byte of the storage
    uint8_t* top;          // bottom + size
    uint8_t* mark;         // urgent mark inside the data, or null
    uint32_t size;
    uint64_t consumeTime;  // tick of the last consume
    uint64_t supplyTime;   // tick of the last supply
};

int ring_setup(RingBuffer& ring, uint8_t* storage, uint32_t size);
// Marks the last byte supplied (the byte just before supply).
void ring_set_mark(RingBuffer& ring);
void ring_advance_supply(RingBuffer& ring, uint32_t n);
void ring_advance_consume(RingBuffer& ring, uint32_t n);
uint32_t ring_free_count(const RingBuffer& ring);
uint32_t ring_free_contiguous(const RingBuffer& ring);
uint32_t ring_data_count(const RingBuffer& ring);
uint32_t ring_data_contiguous(const RingBuffer& ring);
// Copies bytes in, in as many contiguous pieces as needed. Stops when the ring is full and drops
// the rest; returns the number stored.
uint32_t ring_put_bytes(RingBuffer& ring, const uint8_t* bytes, uint32_t n);
// Takes out everything: both pointers back to bottom, no mark.
void ring_discard(RingBuffer& ring);
// Copies up to n bytes out and releases them; returns the count.
uint32_t ring_get_bytes(RingBuffer& ring, uint8_t* out, uint32_t n);

inline bool ring_is_full(const RingBuffer& ring) {
    return ring.consume == ring.supply && ring.consumeTime < ring.supplyTime;
}
inline bool ring_is_empty(const RingBuffer& ring) {
    return ring.consume == ring.supply && !(ring.consumeTime < ring.supplyTime);
}
