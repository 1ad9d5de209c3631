#pragma once
// The constant pool of one ActionScript 3 byte-code (ABC) block: strings,
// package namespaces and qualified names, each made once and referred to by
// its index; and the variable-length unsigned integer (u30) the block is
// written in.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scr {

// Appends `value` as a u30: seven bits a byte, low bits first.
void PutU30(std::vector<uint8_t>& out, uint32_t value);

class AbcConstantPool {
public:
    uint32_t String(std::string_view text);
    // A namespace of the package kind.
    uint32_t Namespace(std::string_view package);
    uint32_t QName(std::string_view package, std::string_view name);
    // The pool as it stands in the block: no numbers, the strings, the
    // namespaces, no namespace sets, the names.
    void Write(std::vector<uint8_t>& out) const;

private:
    std::map<std::string, uint32_t, std::less<>> strings_;
    std::vector<std::string> stringOrder_;
    std::map<uint32_t, uint32_t> namespaces_;
    std::vector<uint32_t> namespaceOrder_;
    std::map<std::pair<uint32_t, uint32_t>, uint32_t> names_;
    std::vector<std::pair<uint32_t, uint32_t>> nameOrder_;
};

} // namespace scr
