// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace lt {

// What a stretch of bytes gives the line count and the binary test of a scan.
struct LineStretch
{
    static constexpr std::size_t kNone = SIZE_MAX;
    std::size_t lines = 0;        // line feeds before the binary byte (all of them when there is none)
    std::size_t afterLastLf = 0;  // index just after the last of those line feeds; 0 when there is none
    std::size_t binaryAt = kNone; // index of the first binary byte
};

// Counts the line feeds of p[0, n) and finds its first binary byte: a control byte whose bit is
// set in `binaryControls` (bit c for the byte c < 32; 0 tests nothing). The count stops at that
// byte, as a scan that reads one byte at a time and stops there would. 32 bytes at a time where
// the processor allows it.
LineStretch CountLines(const uint8_t* p, std::size_t n, uint32_t binaryControls);

// The same one byte at a time (the reference of the tests, and the fallback).
LineStretch CountLinesScalar(const uint8_t* p, std::size_t n, uint32_t binaryControls);

// The control bytes below 32 other than those listed, as a mask for CountLines.
constexpr uint32_t ControlsExcept(std::initializer_list<int> textBytes)
{
    uint32_t mask = 0xFFFFFFFFu;
    for (const int c : textBytes)
        mask &= ~(1u << c);
    return mask;
}

} // namespace lt
