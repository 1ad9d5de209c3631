#include "tests/show_e2e/FlashShow.h"

#include "tests/support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace scr::test {
namespace fs = std::filesystem;

bool GenerateSquareMovie(const std::string& path, int frames, int fps) {
    const std::string command = "python3 '" + SourceDir() + "/assets/generators/make_swf.py' square '" +
                                path + "' --frames " + std::to_string(frames) + " --fps " +
                                std::to_string(fps);
    return RunCommand(command) == 0;
}

std::string PackShow(const std::string& folder, const std::vector<ShowItemSpec>& items, std::string* error) {
    std::ostringstream list;
    for (size_t i = 0; i < items.size(); ++i)
        list << (i ? ",\n" : "") << "{\"file\": \"" << items[i].file << "\", \"kind\": \"" << items[i].kind
             << "\", \"display_seconds\": " << items[i].displaySeconds
             << R"(, "left": 160, "top": 100, "width": 960, "height": 600)"
             << (items[i].moreFields.empty() ? "" : ", " + items[i].moreFields) << "}";
    const std::string manifest = folder + "/show.json";
    std::ofstream(manifest) << R"({"name": "Flash show", "format_level": 5, "random_order": false,
 "placement_mode": 0, "design_width": 1280, "design_height": 800, "background_color": "#202020",
 "default_transition_effect": 0, "default_exit_effect": 0, "items": [)"
                            << list.str() << "]}";
    const std::string out = folder + "/show.scr";
    std::string output;
    if (RunCommand("'" + BuildBinDir() + "/scrtool' pack '" + manifest + "' -o '" + out + "' 2>&1",
                   &output) != 0) {
        if (error) *error = output;
        return {};
    }
    return out;
}

std::map<std::string, std::string> PlayerEnvironment(const std::string& display, const std::string& folder,
                                                     const std::string& tmpDir,
                                                     const std::string& statsFile) {
    return {{"DISPLAY", display},
            {"QT_QPA_PLATFORM", "xcb"},
            {"TMPDIR", tmpDir},
            {"XDG_RUNTIME_DIR", folder + "/runtime"},
            {"XDG_CONFIG_HOME", folder + "/config"},
            {"XDG_DATA_HOME", folder + "/data"},
            {"SCRPLAYER_STATS", statsFile}};
}

std::vector<std::string> StatsLinesStartingWith(const std::string& statsFile, const std::string& prefix) {
    std::ifstream in(statsFile);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0) lines.push_back(line);
    return lines;
}

namespace {

// The parent of a process from /proc/PID/stat; -1 when it is gone. The
// command name in parentheses may hold spaces, so the fields after its
// closing parenthesis are read.
pid_t ParentOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(stat.substr(close + 1));
    std::string state;
    pid_t parent = -1;
    fields >> state >> parent;
    return parent;
}

std::string CommandLineOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/cmdline");
    std::string line((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (char& c : line)
        if (c == '\0') c = ' ';
    return line;
}

} // namespace

std::vector<pid_t> RendererProcesses(pid_t player) {
    std::map<pid_t, pid_t> parents;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        const pid_t pid = std::stoi(name);
        parents[pid] = ParentOf(pid);
    }
    const auto below = [&](pid_t pid) {
        for (pid_t up = parents[pid]; up > 1; up = parents.count(up) ? parents[up] : -1)
            if (up == player) return true;
        return false;
    };
    const auto zygote = [](pid_t pid) {
        return CommandLineOf(pid).find("--type=zygote") != std::string::npos;
    };
    std::map<pid_t, int> children;
    for (const auto& [pid, parent] : parents)
        ++children[parent];
    // A zygote's forks keep its command line: a renderer is a leaf forked by a
    // zygote (with the sandbox, a zygote also forks the zygote proper).
    std::vector<pid_t> found;
    for (const auto& [pid, parent] : parents) {
        if (!below(pid)) continue;
        const std::string line = CommandLineOf(pid);
        if (line.find("--type=renderer") != std::string::npos ||
            (zygote(pid) && zygote(parent) && children[pid] == 0))
            found.push_back(pid);
    }
    return found;
}

} // namespace scr::test
