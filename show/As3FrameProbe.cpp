#include "show/As3FrameProbe.h"

#include "show/AbcConstantPool.h"
#include "show/SwfRewriter.h"

#include <map>
#include <string>
#include <utility>

namespace scr {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}

void AppendTag(std::vector<uint8_t>& out, uint16_t code, const std::vector<uint8_t>& data) {
    Put16(out, static_cast<uint32_t>(code) << 6 | 0x3f);
    Put32(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
}

enum Op : uint8_t {
    kGetLocal0 = 0xd0,
    kGetLocal2 = 0xd2,
    kSetLocal2 = 0xd6,
    kPushScope = 0x30,
    kConstructSuper = 0x49,
    kReturnVoid = 0x47,
    kFindPropStrict = 0x5d,
    kCallPropVoid = 0x4f,
    kPushString = 0x2c,
    kPushByte = 0x24,
    kGetLex = 0x60,
    kNewClass = 0x58,
    kInitProperty = 0x68,
    kGetProperty = 0x66,
    kSetProperty = 0x61,
    kSubtract = 0xa1,
    kAdd = 0xa0,
    kIfEq = 0x13,
    kIfLt = 0x15,
};

void Emit(std::vector<uint8_t>& code, Op op, std::initializer_list<uint32_t> operands = {}) {
    code.push_back(op);
    for (uint32_t operand : operands)
        PutU30(code, operand);
}

// A forward branch whose target is set later; returns where its offset lies.
size_t EmitBranch(std::vector<uint8_t>& code, Op op) {
    code.push_back(op);
    code.insert(code.end(), {0, 0, 0});
    return code.size() - 3;
}

void LandBranch(std::vector<uint8_t>& code, size_t offsetAt) {
    const size_t distance = code.size() - (offsetAt + 3);
    code[offsetAt] = static_cast<uint8_t>(distance);
    code[offsetAt + 1] = static_cast<uint8_t>(distance >> 8);
    code[offsetAt + 2] = static_cast<uint8_t>(distance >> 16);
}

void AppendBody(std::vector<uint8_t>& out, uint32_t method, uint32_t maxStack, uint32_t locals,
                const std::vector<uint8_t>& code) {
    PutU30(out, method);
    PutU30(out, maxStack);
    PutU30(out, locals);
    PutU30(out, 0); // initial scope depth
    PutU30(out, 1); // deepest scope
    PutU30(out, static_cast<uint32_t>(code.size()));
    out.insert(out.end(), code.begin(), code.end());
    PutU30(out, 0); // exceptions
    PutU30(out, 0); // traits
}

std::vector<uint8_t> ProbeAbc(std::string_view className, bool loop, std::string_view prefix) {
    AbcConstantPool pool;
    const uint32_t sprite = pool.QName("flash.display", "Sprite");
    const uint32_t self = pool.QName("", className);
    const uint32_t root = pool.QName("", "r"), previous = pool.QName("", "p"), onFrame = pool.QName("", "f");
    const uint32_t trace = pool.QName("", "trace");
    const uint32_t parent = pool.QName("", "parent"), currentFrame = pool.QName("", "currentFrame");
    const uint32_t totalFrames = pool.QName("", "totalFrames"), stop = pool.QName("", "stop");
    const uint32_t addListener = pool.QName("", "addEventListener");

    // Method 0, the script: defines the class.
    std::vector<uint8_t> script;
    Emit(script, kGetLocal0);
    Emit(script, kPushScope);
    Emit(script, kGetLocal0);
    Emit(script, kGetLex, {sprite});
    Emit(script, kNewClass, {0});
    Emit(script, kInitProperty, {self});
    Emit(script, kReturnVoid);
    // Method 1, the class initializer.
    std::vector<uint8_t> classInit;
    Emit(classInit, kGetLocal0);
    Emit(classInit, kPushScope);
    Emit(classInit, kReturnVoid);
    // Method 2, the constructor: r = parent (once: r is a constant);
    // addEventListener("enterFrame", f).
    std::vector<uint8_t> constructor;
    Emit(constructor, kGetLocal0);
    Emit(constructor, kPushScope);
    Emit(constructor, kGetLocal0);
    Emit(constructor, kConstructSuper, {0});
    Emit(constructor, kGetLocal0);
    Emit(constructor, kGetLocal0);
    Emit(constructor, kGetProperty, {parent});
    Emit(constructor, kInitProperty, {root});
    Emit(constructor, kGetLocal0);
    Emit(constructor, kPushString, {pool.String("enterFrame")});
    Emit(constructor, kGetLocal0);
    Emit(constructor, kGetProperty, {onFrame});
    Emit(constructor, kCallPropVoid, {addListener, 2});
    Emit(constructor, kReturnVoid);
    // Method 3, f(event): frame = r.currentFrame; when it differs from p,
    // p = frame and trace the notice; without looping, on the last frame
    // also stop the root and trace the end.
    std::vector<uint8_t> frame;
    Emit(frame, kGetLocal0);
    Emit(frame, kPushScope);
    Emit(frame, kGetLocal0);
    Emit(frame, kGetProperty, {root});
    Emit(frame, kGetProperty, {currentFrame});
    Emit(frame, kSetLocal2);
    Emit(frame, kGetLocal2);
    Emit(frame, kGetLocal0);
    Emit(frame, kGetProperty, {previous});
    const size_t unchanged = EmitBranch(frame, kIfEq);
    Emit(frame, kGetLocal0);
    Emit(frame, kGetLocal2);
    Emit(frame, kSetProperty, {previous});
    Emit(frame, kFindPropStrict, {trace});
    Emit(frame, kPushString, {pool.String(std::string(prefix) + std::string(kFrameNotice) + " ")});
    Emit(frame, kGetLocal2);
    frame.insert(frame.end(), {kPushByte, 1});
    Emit(frame, kSubtract);
    Emit(frame, kAdd);
    Emit(frame, kCallPropVoid, {trace, 1});
    size_t notLast = 0;
    if (!loop) {
        Emit(frame, kGetLocal2);
        Emit(frame, kGetLocal0);
        Emit(frame, kGetProperty, {root});
        Emit(frame, kGetProperty, {totalFrames});
        notLast = EmitBranch(frame, kIfLt);
        Emit(frame, kGetLocal0);
        Emit(frame, kGetProperty, {root});
        Emit(frame, kCallPropVoid, {stop, 0});
        Emit(frame, kFindPropStrict, {trace});
        Emit(frame, kPushString, {pool.String(std::string(prefix) + std::string(kEndNotice))});
        Emit(frame, kCallPropVoid, {trace, 1});
    }
    LandBranch(frame, unchanged);
    if (!loop) LandBranch(frame, notLast);
    Emit(frame, kReturnVoid);

    std::vector<uint8_t> abc;
    Put16(abc, 16); // minor version
    Put16(abc, 46); // major version
    pool.Write(abc);
    PutU30(abc, 4); // methods: parameters, result type, parameter types, name, flags
    for (int i = 0; i < 3; ++i)
        abc.insert(abc.end(), {0, 0, 0, 0});
    abc.insert(abc.end(), {1, 0, 0, 0, 0}); // f takes one parameter of any type
    PutU30(abc, 0);                         // metadata
    PutU30(abc, 1);                         // classes
    PutU30(abc, self);
    PutU30(abc, sprite);
    abc.push_back(0x01); // sealed
    PutU30(abc, 0);      // interfaces
    PutU30(abc, 2);      // constructor
    PutU30(abc, 3);      // instance traits: the constant r, the slot p, the method f
    for (uint32_t slot : {root, previous}) {
        PutU30(abc, slot);
        abc.push_back(slot == root ? 0x06 : 0x00); // a constant the movie cannot change, or a slot
        PutU30(abc, 0);                            // slot id: assigned
        PutU30(abc, 0);                            // any type
        PutU30(abc, 0);                            // no value
    }
    PutU30(abc, onFrame);
    abc.push_back(0x01); // method
    PutU30(abc, 0);      // dispatch id
    PutU30(abc, 3);
    PutU30(abc, 1); // class initializer
    PutU30(abc, 0); // class traits
    PutU30(abc, 1); // scripts
    PutU30(abc, 0); // script initializer
    PutU30(abc, 1); // one trait: the class
    PutU30(abc, self);
    abc.push_back(0x04); // class trait
    PutU30(abc, 0);      // slot
    PutU30(abc, 0);      // class index
    PutU30(abc, 4);      // method bodies
    AppendBody(abc, 0, 2, 1, script);
    AppendBody(abc, 1, 1, 1, classInit);
    AppendBody(abc, 2, 4, 1, constructor);
    AppendBody(abc, 3, 4, 3, frame);
    return abc;
}

} // namespace

std::vector<uint8_t> As3FrameProbeTags(const As3ProbePlace& place, std::string_view className, bool loop,
                                       std::string_view prefix) {
    std::vector<uint8_t> tags;
    std::vector<uint8_t> doAbc;
    Put32(doAbc, 1);    // lazy initialization: the class is made when first used
    doAbc.push_back(0); // no name
    const std::vector<uint8_t> abc = ProbeAbc(className, loop, prefix);
    doAbc.insert(doAbc.end(), abc.begin(), abc.end());
    AppendTag(tags, 82, doAbc);
    std::vector<uint8_t> sprite; // DefineSprite: one empty frame
    Put16(sprite, place.character);
    Put16(sprite, 1);
    Put16(sprite, 1u << 6); // ShowFrame
    Put16(sprite, 0);       // End
    AppendTag(tags, 39, sprite);
    std::vector<uint8_t> symbol; // SymbolClass: the sprite is of the probe's class
    Put16(symbol, 1);
    Put16(symbol, place.character);
    symbol.insert(symbol.end(), className.begin(), className.end());
    symbol.push_back(0);
    AppendTag(tags, 76, symbol);
    std::vector<uint8_t> placeObject; // PlaceObject2 with a character
    placeObject.push_back(0x02);
    Put16(placeObject, place.depth);
    Put16(placeObject, place.character);
    AppendTag(tags, 26, placeObject);
    return tags;
}

} // namespace scr
