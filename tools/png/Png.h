// PNG output for screenshots: 8-bit RGB, compressed with a small built-in
// deflate encoder (fixed Huffman codes), no outside library.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TBitmap;

// The whole PNG file for bitmap; empty when the bitmap has no pixels.
std::vector<uint8_t> EncodePng(const TBitmap& bitmap);

// Writes bitmap to path as a PNG. The file appears complete or not at all
// (written beside it first, then renamed). False when the bitmap is empty or
// the file cannot be written.
bool WritePng(const TBitmap& bitmap, const std::string& path);

// The zlib stream (header, deflate data, Adler-32) for data.
std::vector<uint8_t> ZlibCompress(const uint8_t* data, size_t size);

// CRC-32 as PNG chunks use it, continuing from crc (0 to start).
uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
