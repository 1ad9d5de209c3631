// scrtool info FILE [--screen WxH] [--json]: tells what FILE is (its kind
// word) and prints what it holds: for a packed screen saver what the package
// reader holds, as if it were the running screen saver; for a Flash movie
// file (a projector, another maker's wrapper, a bare movie) where the movie
// lies and what it is. A readable summary, or one JSON object.

#include "package/PackageFile.h"
#include "package/ScreenSaverFileRecogniser.h"
#include "platform/CodePage.h"
#include "platform/ColorRef.h"
#include "platform/ExecutablePath.h"
#include "platform/ReadOnlyFile.h"
#include "tools/CommandArguments.h"
#include "tools/PackageScreen.h"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

namespace scr {
namespace {

using Json = nlohmann::ordered_json;

// The lines of a language table as the dialogs read them: separated by CR,
// LF or CR LF, no empty line after a final line break.
Json TableLines(const std::vector<uint8_t>& table) {
    Json lines = Json::array();
    const std::string text(table.begin(), table.end());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        lines.push_back(DecodeCodePage(text.substr(pos, end - pos)));
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
    return lines;
}

Json LabelsJson(const LabelGroup* group) {
    Json labels = Json::array();
    for (int i = 0; i < LabelCount(group); ++i) {
        const LabelItem* label = Label(group, i);
        const LabelRecord& r = label->record();
        labels.push_back({{"text", label->textUtf8()},
                          {"font_name", DecodeCodePage(r.fontNameText())},
                          {"font_size", r.fontSize},
                          {"font_style", r.fontStyle},
                          {"text_color", r.textColor},
                          {"transparent", r.transparent != 0},
                          {"back_color", r.backColor},
                          {"center_x", r.centerX},
                          {"center_y", r.centerY}});
    }
    return labels;
}

Json PackageJson(PackageFile& package) {
    const uint8_t kind = package.PackageKind();
    const AuthorInfo& author = package.Author();
    Json json = {
        {"kind", KindWord(ScreenSaverFileKind::Package)},
        {"appended", package.IsAppended()},
        {"name", package.NameUtf8()},
        {"description", package.DescriptionUtf8()},
        {"package_kind", kind ? std::string(1, static_cast<char>(kind)) : std::string()},
        {"format_level", package.FormatLevel()},
        {"item_count", package.ItemCount()},
        {"music_count", package.MusicCount()},
        {"default_display_seconds", package.DefaultDisplaySeconds()},
        {"background_color", package.BackgroundColor()},
        {"random_order", package.RandomOrder()},
        {"no_saving", package.NoSaving()},
        {"placement_mode", package.PlacementMode()},
        {"ignore_mouse_move", package.IgnoreMouseMove()},
        {"design_width", package.DesignWidth()},
        {"design_height", package.DesignHeight()},
        {"opacity_percent", package.OpacityPercent()},
        {"keep_cursor", package.KeepCursor()},
        {"has_author_info", package.HasAuthorInfo()},
        {"author",
         {{"name", DecodeCodePage(author.name())},
          {"email", DecodeCodePage(author.email())},
          {"homepage", DecodeCodePage(author.homepage())}}},
        {"license_text", package.LicenseTextUtf8()},
        {"background", nullptr},
        {"music_names", Json::array()},
        {"items", Json::array()},
        {"tracks", Json::array()},
        {"dynamic_texts", TableLines(package.ReadLanguageTable(false))},
    };
    if (const Bitmap24* background = package.Background())
        json["background"] = {background->width(), background->height()};
    for (int i = 0; i < package.ItemCount(); ++i) {
        const ShowItem item = package.GetItem(i);
        json["items"].push_back({{"kind", item.kind},
                                 {"display_seconds", item.displaySeconds},
                                 {"transition_effect", item.transitionEffect},
                                 {"transition_step", item.transitionStep},
                                 {"transition_delay", item.transitionDelay},
                                 {"exit_effect", item.exitEffect},
                                 {"exit_step", item.exitStep},
                                 {"exit_delay", item.exitDelay},
                                 {"fixed_position", item.fixedPosition != 0},
                                 {"left", item.left},
                                 {"top", item.top},
                                 {"width", item.width},
                                 {"height", item.height},
                                 {"pinned", item.pinned != 0},
                                 {"data_size", package.GetItemLocation(i).size},
                                 {"labels", LabelsJson(package.Labels().Group(i))}});
    }
    for (int i = 0; i < package.MusicCount(); ++i) {
        json["music_names"].push_back(package.MusicNameUtf8(i));
        json["tracks"].push_back({{"extension", DecodeCodePage(package.GetMusic(i).extension())},
                                  {"data_size", package.GetMusicLocation(i).size}});
    }
    return json;
}

std::string YesNo(const Json& flag) {
    return flag.get<bool>() ? "yes" : "no";
}

std::string Kind(int kind) {
    return kind == ShowItem::Picture ? "picture"
           : kind == ShowItem::Flash ? "flash"
                                     : "kind " + std::to_string(kind);
}

Json MovieJson(const FoundMovie& movie) {
    return {{"offset", movie.offset},
            {"length", movie.size},
            {"place", movie.place},
            {"signature", SwfSignature(movie.header.compression)},
            {"version", movie.header.version},
            {"declared_length", movie.header.declaredLength},
            {"width", movie.frame.width},
            {"height", movie.frame.height},
            {"frame_rate", movie.frame.frameRate},
            {"frame_count", movie.frame.frameCount},
            {"show_frames", movie.showFrames},
            {"actionscript3", movie.actionScript3}};
}

Json MovieFileJson(const RecognisedFile& file) {
    Json json = {{"kind", KindWord(file.kind)}, {"file", file.path}};
    if (!file.HasMovie()) {
        json["reason"] = file.reason;
    } else {
        json["movie_file"] = file.movieFile;
        json["movie"] = MovieJson(*file.movie);
        json["others"] = Json::array();
        for (const FoundMovie& other : file.others)
            json["others"].push_back(MovieJson(other));
    }
    json["rejected"] = Json::array();
    for (const RejectedCandidate& candidate : file.rejected)
        json["rejected"].push_back({{"offset", candidate.offset}, {"reason", candidate.reason}});
    return json;
}

std::string FrameRateText(double rate) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", rate);
    return text;
}

// The readable summary of a movie file, drawn from the same object the JSON form prints.
void PrintMovieSummary(const Json& j) {
    std::printf("File:             %s\n", j["file"].get<std::string>().c_str());
    std::printf("Kind:             %s\n", j["kind"].get<std::string>().c_str());
    const Json& m = j["movie"];
    if (j["movie_file"] != j["file"])
        std::printf("Movie file:       %s\n", j["movie_file"].get<std::string>().c_str());
    std::printf("Movie:            offset %lld, length %lld bytes (%s)\n", m["offset"].get<long long>(),
                m["length"].get<long long>(), m["place"].get<std::string>().c_str());
    std::printf("Flash version:    %d (%s%s)\n", m["version"].get<int>(),
                m["signature"].get<std::string>().c_str(),
                m["actionscript3"].get<bool>() ? ", ActionScript 3" : "");
    std::printf("Frame size:       %d x %d\n", m["width"].get<int>(), m["height"].get<int>());
    std::printf("Frame rate:       %s fps\n", FrameRateText(m["frame_rate"].get<double>()).c_str());
    std::printf("Frame count:      %d", m["frame_count"].get<int>());
    if (m["show_frames"] != m["frame_count"])
        std::printf(" (the main timeline shows %d)", m["show_frames"].get<int>());
    std::printf("\n");
    for (const Json& other : j["others"])
        std::printf("Also found:       offset %lld, length %lld bytes, version %d, %d x %d, %d frames (%s)\n",
                    other["offset"].get<long long>(), other["length"].get<long long>(),
                    other["version"].get<int>(), other["width"].get<int>(), other["height"].get<int>(),
                    other["frame_count"].get<int>(), other["place"].get<std::string>().c_str());
    for (const Json& rejected : j["rejected"])
        std::printf("Not a movie:      offset %lld: %s\n", rejected["offset"].get<long long>(),
                    rejected["reason"].get<std::string>().c_str());
}

// The readable summary, drawn from the same object the JSON form prints.
void PrintSummary(const std::string& file, const Json& j) {
    std::printf("File:             %s\n", file.c_str());
    std::printf("Kind:             %s\n", j["kind"].get<std::string>().c_str());
    if (!j["appended"].get<bool>() && j["item_count"] == 0 && j["name"].get<std::string>().empty()) {
        std::printf("Package:          none\n");
        return;
    }
    std::printf("Package:          %s, format level %d, %s\n",
                j["appended"].get<bool>() ? "appended" : "resources", j["format_level"].get<int>(),
                j["package_kind"] == "E" ? "installer (E)" : "screen saver (S)");
    std::printf("Name:             %s\n", j["name"].get<std::string>().c_str());
    std::printf("Description:      %s\n", j["description"].get<std::string>().c_str());
    if (j["has_author_info"].get<bool>()) {
        const Json& a = j["author"];
        std::printf("Author:           %s <%s> %s\n", a["name"].get<std::string>().c_str(),
                    a["email"].get<std::string>().c_str(), a["homepage"].get<std::string>().c_str());
    }
    std::printf("Design screen:    %d x %d\n", j["design_width"].get<int>(), j["design_height"].get<int>());
    std::printf("Background:       colour %s",
                ColorRefHexText(j["background_color"].get<uint32_t>()).c_str());
    if (!j["background"].is_null())
        std::printf(", picture %d x %d", j["background"][0].get<int>(), j["background"][1].get<int>());
    std::printf("\nShow:             %d s per item, random order %s, placement mode %d, opacity %d%%\n",
                j["default_display_seconds"].get<int>(), YesNo(j["random_order"]).c_str(),
                j["placement_mode"].get<int>(), j["opacity_percent"].get<int>());
    std::printf("Options:          no saving %s, ignore mouse moves %s, keep cursor %s\n",
                YesNo(j["no_saving"]).c_str(), YesNo(j["ignore_mouse_move"]).c_str(),
                YesNo(j["keep_cursor"]).c_str());
    std::printf("Items:            %zu\n", j["items"].size());
    int n = 0;
    for (const Json& item : j["items"]) {
        std::printf("  %2d  %-8s %4d s  %5d x %-5d at %d,%d%s%s  %d bytes", ++n, Kind(item["kind"]).c_str(),
                    item["display_seconds"].get<int>(), item["width"].get<int>(), item["height"].get<int>(),
                    item["left"].get<int>(), item["top"].get<int>(),
                    item["fixed_position"].get<bool>() ? "" : " (random)",
                    item["pinned"].get<bool>() ? " pinned" : "", item["data_size"].get<int>());
        for (const Json& label : item["labels"])
            std::printf("  \"%s\"", label["text"].get<std::string>().c_str());
        std::printf("\n");
    }
    std::printf("Tracks:           %zu\n", j["tracks"].size());
    for (std::size_t i = 0; i < j["tracks"].size(); ++i)
        std::printf("  %2zu  %-8s %d bytes  %s\n", i + 1,
                    j["tracks"][i]["extension"].get<std::string>().c_str(),
                    j["tracks"][i]["data_size"].get<int>(), j["music_names"][i].get<std::string>().c_str());
    std::printf("Licence:          %zu bytes\n", j["license_text"].get<std::string>().size());
    std::printf("Dynamic texts:    %zu\n", j["dynamic_texts"].size());
}

} // namespace

int RunInfoCommand(int argc, char** argv) {
    CommandArguments args({"--json"}, {"--screen"});
    if (!args.parse(argc, argv, 1, 1)) {
        std::fprintf(stderr, "scrtool info: %s\nusage: scrtool info FILE [--screen WxH] [--json]\n",
                     args.error().c_str());
        return 2;
    }
    const std::string file = args.positional()[0];
    const RecognisedFile recognised = RecogniseScreenSaverFile(file);
    if (!ReadOnlyFile(file).isOpen() && !IsMacAppFolder(file)) {
        std::fprintf(stderr, "scrtool info: cannot read %s\n", file.c_str());
        return 2;
    }
    PackageScreen screen;
    if (!screen.choose(args.option("--screen"))) {
        std::fprintf(stderr, "scrtool info: %s\n", screen.error().c_str());
        return 2;
    }
    if (recognised.kind != ScreenSaverFileKind::Package) {
        // A movie file, or a file that holds neither a package nor a movie.
        const Json json = MovieFileJson(recognised);
        if (args.flag("--json"))
            std::printf("%s\n", json.dump(2).c_str());
        else if (recognised.HasMovie())
            PrintMovieSummary(json);
        if (recognised.HasMovie()) return 0;
        std::fprintf(stderr, "scrtool info: %s\n", NoMovieMessage(recognised).c_str());
        return 1;
    }
    PackageFile package(file, screen.reading());
    const Json json = PackageJson(package);
    if (args.flag("--json"))
        std::printf("%s\n", json.dump(2).c_str());
    else
        PrintSummary(file, json);
    return 0;
}

} // namespace scr
