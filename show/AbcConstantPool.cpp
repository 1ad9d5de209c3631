#include "show/AbcConstantPool.h"

namespace scr {

void PutU30(std::vector<uint8_t>& out, uint32_t value) {
    do {
        uint8_t byte = value & 0x7f;
        value >>= 7;
        if (value) byte |= 0x80;
        out.push_back(byte);
    } while (value);
}

uint32_t AbcConstantPool::String(std::string_view text) {
    if (auto it = strings_.find(text); it != strings_.end()) return it->second;
    const auto index = static_cast<uint32_t>(stringOrder_.size() + 1);
    strings_.emplace(std::string(text), index);
    stringOrder_.emplace_back(text);
    return index;
}

uint32_t AbcConstantPool::Namespace(std::string_view package) {
    const uint32_t name = String(package);
    auto [it, added] = namespaces_.try_emplace(name, static_cast<uint32_t>(namespaceOrder_.size() + 1));
    if (added) namespaceOrder_.push_back(name);
    return it->second;
}

uint32_t AbcConstantPool::QName(std::string_view package, std::string_view name) {
    const uint32_t space = Namespace(package);
    std::pair<uint32_t, uint32_t> key{space, String(name)};
    auto [it, added] = names_.try_emplace(key, static_cast<uint32_t>(nameOrder_.size() + 1));
    if (added) nameOrder_.push_back(key);
    return it->second;
}

void AbcConstantPool::Write(std::vector<uint8_t>& out) const {
    PutU30(out, 0); // ints
    PutU30(out, 0); // uints
    PutU30(out, 0); // doubles
    PutU30(out, static_cast<uint32_t>(stringOrder_.size() + 1));
    for (const std::string& s : stringOrder_) {
        PutU30(out, static_cast<uint32_t>(s.size()));
        out.insert(out.end(), s.begin(), s.end());
    }
    PutU30(out, static_cast<uint32_t>(namespaceOrder_.size() + 1));
    for (uint32_t name : namespaceOrder_) {
        out.push_back(0x16); // package namespace
        PutU30(out, name);
    }
    PutU30(out, 0); // namespace sets
    PutU30(out, static_cast<uint32_t>(nameOrder_.size() + 1));
    for (const auto& [space, name] : nameOrder_) {
        out.push_back(0x07); // QName
        PutU30(out, space);
        PutU30(out, name);
    }
}

} // namespace scr
