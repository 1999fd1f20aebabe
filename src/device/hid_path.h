#pragma once
// Interface paths: the tokens they carry and how numbers are read back from them.
//
// A path names one top-level collection of one HID interface, for example
//   /dev/hidraw3#0003:320F:505B.0007#vid_320f&pid_505b&mi_01&col04
//   virtual:12#vid_320f&pid_505b&mi_01&col03
// Only the tokens matter to the rest of the program; what precedes them is the backend's.

#include <cstdint>
#include <string>
#include <string_view>

namespace zrv::device {

// Finds token case-insensitively, skips it and reads the following characters as a hexadecimal
// number (as "%x" would, truncated to 16 bits). A missing token, or no digits after it, gives 0.
uint16_t ParsePathNumber(std::string_view path, std::string_view token);

inline uint16_t PathVendorId(std::string_view path) { return ParsePathNumber(path, "vid_"); }
inline uint16_t PathProductId(std::string_view path) { return ParsePathNumber(path, "pid_"); }
inline uint16_t PathInterfaceNumber(std::string_view path) { return ParsePathNumber(path, "&mi_"); }
inline uint16_t PathCollectionNumber(std::string_view path) { return ParsePathNumber(path, "&col"); }

// "vid_320f&pid_505b&mi_01&col04": the token part of a path. interface_number < 0 leaves out &mi_;
// collection 0 leaves out &col (an interface with a single top-level collection).
std::string FormatPathTokens(uint16_t vendor_id, uint16_t product_id, int interface_number, int collection);

}  // namespace zrv::device
