#pragma once
// ActionScript 3 movies made for the tests: one frame whose document class
// (a MovieClip) runs a few calls in its constructor, then traces a message,
// so a test can see that the calls ran. The bytecode (an ABC block in a
// DoABC tag, the class named by SymbolClass) is assembled here.

#include <cstdint>
#include <string>
#include <vector>

namespace scr::test {

struct As3Call {
    enum Kind {
        NavigateToUrl,         // navigateToURL(new URLRequest(text), "_self")
        UrlLoaderLoad,         // new URLLoader().load(new URLRequest(text))
        SocketConnect,         // new Socket().connect(text, port)
        ExternalInterfaceCall, // ExternalInterface.call(text, argument)
    };
    Kind kind;
    std::string text;
    int port = 0;
    std::string argument = {};
};

// The movie: Flash 10, 320 x 240, 24 fps; the constructor runs `calls` in
// order, each in its own try block, then traces `doneMessage`.
std::vector<uint8_t> As3TestMovie(const std::vector<As3Call>& calls, const std::string& doneMessage);

} // namespace scr::test
