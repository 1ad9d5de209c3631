#include "dialogs/LanguageTables.h"

#include "dialogs/ComponentRole.h"
#include "dialogs/MemIniFile.h"
#include "dialogs/ProgramResource.h"
#include "platform/CodePage.h"
#include "platform/ReadOnlyFile.h"

#include <QObject>
#include <vector>

namespace scr {
namespace {

// One table read from the package file at `offset`; throws when it is not inside the file.
std::string ReadTableBytes(const ReadOnlyFile& file, int64_t offset, int32_t size) {
    if (size < 0 || offset < 0 || offset > file.size() || size > file.size() - offset)
        throw LanguageTableError("The interface texts of the package reach beyond the end of the file.");
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (size > 0 && !file.readAt(offset, bytes.data(), bytes.size()))
        throw LanguageTableError("The interface texts of the package could not be read.");
    ScrambleBytes(bytes.data(), size);
    return bytes;
}

// A program resource table, unscrambled; empty when the program has none.
std::string ReadResourceTable(const QString& name) {
    std::optional<QByteArray> data = LoadProgramResource(name);
    if (!data) return {};
    std::string bytes(data->constData(), static_cast<std::size_t>(data->size()));
    ScrambleBytes(bytes.data(), static_cast<long long>(bytes.size()));
    return bytes;
}

// Every descendant of the form, depth first in creation order.
void CollectComponents(const QObject* parent, std::vector<QObject*>& out) {
    for (QObject* child : parent->children()) {
        out.push_back(child);
        CollectComponents(child, out);
    }
}

} // namespace

LanguageSource LanguageSourceOf(const std::string& path) {
    LanguageSource source;
    source.path = path;
    source.appended = HasValidTrailer(path);
    TrailerBytes trailer{};
    if (source.appended && ReadTrailer(path, trailer)) source.trailer = ParseTrailerFields(trailer);
    return source;
}

QStringList SplitTableLines(const std::string& bytes) {
    const QString text = QString::fromStdString(DecodeCodePage(bytes));
    QStringList lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.push_back(text.mid(start, i - start));
            i += (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.push_back(text.mid(start));
    return lines;
}

void ReplaceLineBreakEscapes(QStringList& lines) {
    for (QString& line : lines)
        line.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
}

bool ReadLanguageTables(const LanguageSource& source, LanguageTables& tables) {
    std::string dynamicBytes;
    std::string staticBytes;
    if (source.appended) {
        ReadOnlyFile file;
        if (!file.open(source.path)) return false;
        const int64_t start =
            file.size() - int64_t{source.trailer.packageSize} + source.trailer.languageOffset;
        dynamicBytes = ReadTableBytes(file, start, source.trailer.dynamicTextSize);
        staticBytes =
            ReadTableBytes(file, start + source.trailer.dynamicTextSize, source.trailer.staticTextSize);
    } else {
        dynamicBytes = ReadResourceTable(QStringLiteral("LNGDYNA"));
        staticBytes = ReadResourceTable(QStringLiteral("LNGSTATIC"));
    }
    tables.dynamicTexts = SplitTableLines(dynamicBytes);
    tables.staticCaptions = SplitTableLines(staticBytes);
    ReplaceLineBreakEscapes(tables.staticCaptions);
    ReplaceLineBreakEscapes(tables.dynamicTexts);
    return true;
}

void LoadLanguage(const QString& section, QStringList& dynamicTexts, const LanguageSource& source,
                  QObject* form) {
    LanguageTables tables;
    if (!ReadLanguageTables(source, tables)) return;
    dynamicTexts = tables.dynamicTexts;
    ApplyCaptions(tables.staticCaptions, section, form);
}

void ApplyCaptions(const QStringList& staticCaptions, const QString& section, QObject* form) {
    if (!form) return;
    const MemIniFile ini(staticCaptions);
    std::vector<QObject*> components;
    CollectComponents(form, components);
    for (QObject* component : components) {
        if (RoleOfComponent(component) == ComponentRole::None) continue;
        const int tag = TagOfComponent(component);
        if (tag < 0) continue;
        const QString caption = ini.ReadString(section, QStringLiteral("S_%1").arg(tag));
        if (caption.isEmpty()) continue;
        SetComponentCaption(component, caption);
    }
}

LanguageTables ProgramLanguageTables() {
    LanguageTables tables;
    ReadLanguageTables(LanguageSource{}, tables);
    return tables;
}

void ApplyProgramCaptions(const QString& section, QObject* form) {
    ApplyCaptions(ProgramLanguageTables().staticCaptions, section, form);
}

QString DynamicText(int index, const QStringList& list) {
    if (index < 0 || index >= list.size()) return {};
    return list[index];
}

} // namespace scr
