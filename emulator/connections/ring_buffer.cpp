#include "connections/ring_buffer.h"

#include <cstring>

namespace {

// One tick for the whole process; 64 bits wide, so it does not wrap in practice.
uint64_t ringTick = 0;

// Distance from `from` forward to `to` inside the ring (0 when equal).
uint32_t Forward(const RingBuffer& ring, const uint8_t* from, const uint8_t* to) {
    return to >= from ? static_cast<uint32_t>(to - from)
                      : static_cast<uint32_t>(to - from + ring.size);
}

uint8_t* Advance(const RingBuffer& ring, uint8_t* p, uint32_t n) {
    uint32_t offset = static_cast<uint32_t>(p - ring.bottom) + n % (ring.size ? ring.size : 1);
    if (offset >= ring.size) offset -= ring.size;
    return ring.bottom + offset;
}

}  // namespace

int ring_setup(RingBuffer& ring, uint8_t* storage, uint32_t size) {
    ring = RingBuffer{};
    ring.bottom = ring.consume = ring.supply = storage;
    ring.top = storage + size;
    ring.size = size;
    return 1;
}

void ring_set_mark(RingBuffer& ring) {
    ring.mark = ring.supply == ring.bottom ? ring.top - 1 : ring.supply - 1;
}

void ring_advance_supply(RingBuffer& ring, uint32_t n) {
    ring.supply = Advance(ring, ring.supply, n);
    ring.supplyTime = ++ringTick;
}

void ring_advance_consume(RingBuffer& ring, uint32_t n) {
    if (n == 0) return;
    if (ring.mark && Forward(ring, ring.consume, ring.mark) < n) ring.mark = nullptr;
    ring.consume = Advance(ring, ring.consume, n);
    ring.consumeTime = ++ringTick;
    if (ring_is_empty(ring)) ring.consume = ring.supply = ring.bottom;
}

uint32_t ring_free_count(const RingBuffer& ring) {
    if (ring_is_empty(ring)) return ring.size;
    if (ring_is_full(ring)) return 0;
    return Forward(ring, ring.supply, ring.consume);
}

uint32_t ring_free_contiguous(const RingBuffer& ring) {
    if (ring.consume < ring.supply || ring_is_empty(ring))
        return static_cast<uint32_t>(ring.top - ring.supply);
    return static_cast<uint32_t>(ring.consume - ring.supply);
}

uint32_t ring_data_count(const RingBuffer& ring) {
    if (ring.mark && ring.mark != ring.consume) return Forward(ring, ring.consume, ring.mark);
    if (ring_is_full(ring)) return ring.size;
    return Forward(ring, ring.consume, ring.supply);
}

uint32_t ring_data_contiguous(const RingBuffer& ring) {
    if (ring.mark && ring.mark != ring.consume && ring.mark > ring.consume)
        return static_cast<uint32_t>(ring.mark - ring.consume);
    if (ring.supply > ring.consume || ring_is_empty(ring))
        return static_cast<uint32_t>(ring.supply - ring.consume);
    return static_cast<uint32_t>(ring.top - ring.consume);
}

uint32_t ring_put_bytes(RingBuffer& ring, const uint8_t* bytes, uint32_t n) {
    uint32_t stored = 0;
    while (stored < n) {
        uint32_t piece = ring_free_contiguous(ring);
        if (ring_is_full(ring) || piece == 0) break;
        if (piece > n - stored) piece = n - stored;
        std::memcpy(ring.supply, bytes + stored, piece);
        ring_advance_supply(ring, piece);
        stored += piece;
    }
    return stored;
}

void ring_discard(RingBuffer& ring) {
    ring.consume = ring.supply = ring.bottom;
    ring.mark = nullptr;
    ring.consumeTime = ++ringTick;
}

uint32_t ring_get_bytes(RingBuffer& ring, uint8_t* out, uint32_t n) {
    uint32_t taken = 0;
    while (taken < n) {
        uint32_t piece = ring_data_contiguous(ring);
        if (piece == 0 || ring_is_empty(ring)) break;
        if (piece > n - taken) piece = n - taken;
        std::memcpy(out + taken, ring.consume, piece);
        ring_advance_consume(ring, piece);
        taken += piece;
    }
    return taken;
}
