#pragma once
// The argc and argv of a Qt application object made without a command line
// of its own (a tool's, or a run started with none). The application keeps
// pointing at them, so this object must outlive it.

#include <array>
#include <string>

namespace scr {

class ApplicationArguments {
public:
    explicit ApplicationArguments(std::string programName) : name_(std::move(programName)) {
        argv_ = {name_.data(), nullptr};
    }
    ApplicationArguments(const ApplicationArguments&) = delete;
    ApplicationArguments& operator=(const ApplicationArguments&) = delete;

    int& argc() { return argc_; }
    char** argv() { return argv_.data(); }

private:
    std::string name_;
    int argc_ = 1;
    std::array<char*, 2> argv_{};
};

} // namespace scr
