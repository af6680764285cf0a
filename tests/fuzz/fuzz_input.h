// FuzzInput: takes typed values off the front of a fuzzer's input, so that one input describes
// both the parameters of a call and the bytes it reads. Past the end every value is zero and the
// rest is empty, so any input, however short, is a valid case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>

class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // An integer from the next sizeof(T) bytes (fewer at the end, zero-filled).
    template <typename T>
    T Take() {
        static_assert(std::is_trivially_copyable_v<T>);
        T value{};
        const std::size_t n = sizeof(T) < size_ ? sizeof(T) : size_;
        if (n > 0) std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }
    // A value in [low, high] (inclusive) from the next four bytes.
    long long TakeInRange(long long low, long long high) {
        const auto span = static_cast<unsigned long long>(high - low) + 1;
        return low + static_cast<long long>(Take<std::uint32_t>() % span);
    }
    // At most `count` of the next bytes.
    std::span<const std::uint8_t> TakeBytes(std::size_t count) {
        const std::size_t n = count < size_ ? count : size_;
        std::span<const std::uint8_t> bytes(data_, n);
        data_ += n;
        size_ -= n;
        return bytes;
    }
    // Everything left.
    std::span<const std::uint8_t> Rest() { return TakeBytes(size_); }
    std::size_t Remaining() const { return size_; }

  private:
    // Not owned: the fuzzer's input, alive for the call.
    const std::uint8_t* data_;
    std::size_t size_;
};
