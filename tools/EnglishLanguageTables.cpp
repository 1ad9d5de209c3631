#include "tools/EnglishLanguageTables.h"

#include "dialogs/ProgramResource.h"
#include "package/PackageTrailer.h"

namespace scr {

LanguageTableTexts EnglishLanguageTables() {
    const auto table = [](const char* name) {
        const std::optional<QByteArray> data = LoadProgramResource(QString::fromLatin1(name));
        if (!data) return std::string();
        std::string text(data->constData(), static_cast<std::size_t>(data->size()));
        ScrambleBytes(text.data(), static_cast<long long>(text.size()));
        return text;
    };
    return {table("LNGDYNA"), table("LNGSTATIC")};
}

} // namespace scr
