#pragma once
// Flash movies made for the tests: a square moving across the stage, one
// position per frame (header, FileAttributes, SetBackgroundColor,
// DefineShape, PlaceObject2 and ShowFrame per frame, End).

#include "package/SwfContainer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace scr::test {

struct TestMovieOptions {
    int frames = 24;
    double fps = 12;
    int width = 320, height = 240;
    uint8_t version = 8;
    bool actionScript3 = false;
    SwfCompression compression = SwfCompression::None;
    // ActionScript 1/2 actions (without the closing End action) run in the
    // first frame, from a DoAction tag before its ShowFrame.
    std::vector<uint8_t> firstFrameActions = {};
    // A streaming sound (uncompressed 16-bit mono at 5512 Hz, a quiet tone)
    // with one block per frame: the player then paces the movie by its sound.
    bool streamingSound = false;
    // The square's colour, 0xRRGGBB.
    uint32_t squareColor = 0xf0c020;
};

// ActionScript 1/2 bytecode for test movies, one statement per call; the
// result of a call is popped, so statements can simply be concatenated.
namespace avm1 {
// getURL(url, target): ActionGetURL.
std::vector<uint8_t> GetUrl(const std::string& url, const std::string& target);
// getURL(url, target) through the stack: ActionGetURL2, no variables sent.
std::vector<uint8_t> GetUrl2(const std::string& url, const std::string& target);
// loadVariablesNum(url, level): ActionGetURL2 with the load-variables flag.
std::vector<uint8_t> LoadVariablesNum(const std::string& url, int level);
// loadMovieNum(url, level): ActionGetURL2 into _level<level>.
std::vector<uint8_t> LoadMovieNum(const std::string& url, int level);
// new <className>().<method>(arguments...), e.g. new LoadVars().load(url),
// new XML().load(url); string and integer arguments.
struct Argument {
    std::string text = {};
    int number = 0;
    bool isNumber = false;
};
std::vector<uint8_t> NewObjectCall(const std::string& className, const std::string& method,
                                   const std::vector<Argument>& arguments);
// flash.external.ExternalInterface.call(arguments...).
std::vector<uint8_t> ExternalInterfaceCall(const std::vector<Argument>& arguments);
// trace(message).
std::vector<uint8_t> Trace(const std::string& message);
} // namespace avm1

// The body (everything after the 8-byte header) of the movie.
std::vector<uint8_t> TestMovieBody(const TestMovieOptions& options);
// The whole movie file.
std::vector<uint8_t> TestMovie(const TestMovieOptions& options = {});

} // namespace scr::test
