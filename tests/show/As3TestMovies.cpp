#include "tests/show/As3TestMovies.h"

#include "package/SwfContainer.h"
#include "show/AbcConstantPool.h"

#include <map>
#include <utility>

namespace scr::test {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}

std::vector<uint8_t> Tag(uint16_t code, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> out;
    Put16(out, static_cast<uint32_t>(code) << 6 | 0x3f);
    Put32(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

constexpr uint8_t kGetLocal0 = 0xd0, kPushScope = 0x30, kConstructSuper = 0x49, kReturnVoid = 0x47,
                  kFindPropStrict = 0x5d, kConstructProp = 0x4a, kCallPropVoid = 0x4f, kPushString = 0x2c,
                  kGetLex = 0x60, kNewClass = 0x58, kInitProperty = 0x68, kJump = 0x10, kPop = 0x29;

// A try block around code: where it starts and ends, and where its handler starts.
struct Catch {
    uint32_t from, to, target;
};

void Op(std::vector<uint8_t>& code, uint8_t op, std::initializer_list<uint32_t> operands = {}) {
    code.push_back(op);
    for (uint32_t operand : operands)
        PutU30(code, operand);
}

// new <name>(<one string>) leaves the object on the stack.
void ConstructWithString(std::vector<uint8_t>& code, AbcConstantPool& pool, uint32_t name,
                         const std::string& text) {
    Op(code, kFindPropStrict, {name});
    Op(code, kPushString, {pool.String(text)});
    Op(code, kConstructProp, {name, 1});
}

void AppendCall(std::vector<uint8_t>& code, AbcConstantPool& pool, const As3Call& call) {
    const uint32_t request = pool.QName("flash.net", "URLRequest");
    switch (call.kind) {
    case As3Call::NavigateToUrl: {
        const uint32_t navigate = pool.QName("flash.net", "navigateToURL");
        Op(code, kFindPropStrict, {navigate});
        ConstructWithString(code, pool, request, call.text);
        Op(code, kPushString, {pool.String("_self")});
        Op(code, kCallPropVoid, {navigate, 2});
        break;
    }
    case As3Call::UrlLoaderLoad: {
        const uint32_t loader = pool.QName("flash.net", "URLLoader");
        Op(code, kFindPropStrict, {loader});
        Op(code, kConstructProp, {loader, 0});
        ConstructWithString(code, pool, request, call.text);
        Op(code, kCallPropVoid, {pool.QName("", "load"), 1});
        break;
    }
    case As3Call::SocketConnect: {
        const uint32_t socket = pool.QName("flash.net", "Socket");
        Op(code, kFindPropStrict, {socket});
        Op(code, kConstructProp, {socket, 0});
        Op(code, kPushString, {pool.String(call.text)});
        // The port as text: the call converts it to its int parameter.
        Op(code, kPushString, {pool.String(std::to_string(call.port))});
        Op(code, kCallPropVoid, {pool.QName("", "connect"), 2});
        break;
    }
    case As3Call::ExternalInterfaceCall:
        Op(code, kGetLex, {pool.QName("flash.external", "ExternalInterface")});
        Op(code, kPushString, {pool.String(call.text)});
        Op(code, kPushString, {pool.String(call.argument)});
        Op(code, kCallPropVoid, {pool.QName("", "call"), 2});
        break;
    }
}

void AppendBody(std::vector<uint8_t>& out, uint32_t method, uint32_t maxStack,
                const std::vector<uint8_t>& code, const std::vector<Catch>& catches = {}) {
    PutU30(out, method);
    PutU30(out, maxStack);
    PutU30(out, 1); // locals: this
    PutU30(out, 0); // initial scope depth
    PutU30(out, 1); // deepest scope
    PutU30(out, static_cast<uint32_t>(code.size()));
    out.insert(out.end(), code.begin(), code.end());
    PutU30(out, static_cast<uint32_t>(catches.size()));
    for (const Catch& c : catches) {
        for (uint32_t v : {c.from, c.to, c.target})
            PutU30(out, v);
        PutU30(out, 0); // any error
        PutU30(out, 0); // no variable name
    }
    PutU30(out, 0); // traits
}

std::vector<uint8_t> Abc(const std::vector<As3Call>& calls, const std::string& doneMessage,
                         const std::string& className) {
    AbcConstantPool pool;
    const uint32_t movieClip = pool.QName("flash.display", "MovieClip");
    const uint32_t self = pool.QName("", className);

    // Method 0: the script's initializer defines the class.
    std::vector<uint8_t> scriptInit;
    Op(scriptInit, kGetLocal0);
    Op(scriptInit, kPushScope);
    Op(scriptInit, kGetLocal0); // the global object receives the class
    Op(scriptInit, kGetLex, {movieClip});
    Op(scriptInit, kNewClass, {0});
    Op(scriptInit, kInitProperty, {self});
    Op(scriptInit, kReturnVoid);
    // Method 1: the class initializer.
    std::vector<uint8_t> classInit;
    Op(classInit, kGetLocal0);
    Op(classInit, kPushScope);
    Op(classInit, kReturnVoid);
    // Method 2: the constructor runs the calls, then traces.
    std::vector<uint8_t> constructor;
    Op(constructor, kGetLocal0);
    Op(constructor, kPushScope);
    Op(constructor, kGetLocal0);
    Op(constructor, kConstructSuper, {0});
    // Each call in a try block whose handler drops the error and restores
    // the scope, so every call runs and the trace comes last.
    std::vector<Catch> catches;
    for (const As3Call& call : calls) {
        const auto from = static_cast<uint32_t>(constructor.size());
        AppendCall(constructor, pool, call);
        const auto to = static_cast<uint32_t>(constructor.size());
        constructor.insert(constructor.end(), {kJump, 3, 0, 0});
        catches.push_back({from, to, static_cast<uint32_t>(constructor.size())});
        constructor.insert(constructor.end(), {kPop, kGetLocal0, kPushScope});
    }
    const uint32_t trace = pool.QName("", "trace");
    Op(constructor, kFindPropStrict, {trace});
    Op(constructor, kPushString, {pool.String(doneMessage)});
    Op(constructor, kCallPropVoid, {trace, 1});
    Op(constructor, kReturnVoid);

    std::vector<uint8_t> abc;
    Put16(abc, 16); // minor version
    Put16(abc, 46); // major version
    pool.Write(abc);
    PutU30(abc, 3); // methods: no parameters, any result, no name, no flags
    for (int i = 0; i < 3; ++i)
        abc.insert(abc.end(), {0, 0, 0, 0});
    PutU30(abc, 0); // metadata
    PutU30(abc, 1); // classes
    PutU30(abc, self);
    PutU30(abc, movieClip);
    abc.push_back(0x01); // sealed
    PutU30(abc, 0);      // interfaces
    PutU30(abc, 2);      // constructor
    PutU30(abc, 0);      // instance traits
    PutU30(abc, 1);      // class initializer
    PutU30(abc, 0);      // class traits
    PutU30(abc, 1);      // scripts
    PutU30(abc, 0);      // script initializer
    PutU30(abc, 1);      // one trait: the class
    PutU30(abc, self);
    abc.push_back(0x04); // class trait
    PutU30(abc, 0);      // slot
    PutU30(abc, 0);      // class index
    PutU30(abc, 3);      // method bodies
    AppendBody(abc, 0, 2, scriptInit);
    AppendBody(abc, 1, 1, classInit);
    AppendBody(abc, 2, 6, constructor, catches);
    return abc;
}

} // namespace

std::vector<uint8_t> As3TestMovie(const std::vector<As3Call>& calls, const std::string& doneMessage) {
    const std::string className = "HostileMovie";
    // The stage, 0..6400 x 0..4800 twips (320 x 240 pixels): fields of 15 bits.
    std::vector<bool> bits;
    auto put = [&](uint32_t value, int width) {
        for (int i = width - 1; i >= 0; --i)
            bits.push_back((value >> i) & 1);
    };
    put(15, 5);
    for (uint32_t field : {0u, 6400u, 0u, 4800u})
        put(field, 15);
    std::vector<uint8_t> body((bits.size() + 7) / 8, 0);
    for (size_t i = 0; i < bits.size(); ++i)
        if (bits[i]) body[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
    Put16(body, 24 << 8); // 24 fps
    Put16(body, 1);       // one frame
    std::vector<uint8_t> out = body;
    auto append = [&](const std::vector<uint8_t>& tag) { out.insert(out.end(), tag.begin(), tag.end()); };
    append(Tag(69, {0x08, 0, 0, 0}));   // FileAttributes: ActionScript 3
    append(Tag(9, {0x20, 0x40, 0x80})); // SetBackgroundColor
    std::vector<uint8_t> doAbc;
    Put32(doAbc, 1); // lazy initialization
    doAbc.push_back(0);
    const std::vector<uint8_t> abc = Abc(calls, doneMessage, className);
    doAbc.insert(doAbc.end(), abc.begin(), abc.end());
    append(Tag(82, doAbc));
    std::vector<uint8_t> symbols;
    Put16(symbols, 1);
    Put16(symbols, 0); // the main timeline
    symbols.insert(symbols.end(), className.begin(), className.end());
    symbols.push_back(0);
    append(Tag(76, symbols));
    append(Tag(1, {}));
    append(Tag(0, {}));
    return EncodeSwf(SwfCompression::None, 10, out);
}

} // namespace scr::test
