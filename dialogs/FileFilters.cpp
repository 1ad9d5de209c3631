#include "dialogs/FileFilters.h"

namespace scr {

QList<FileFilterEntry> ParseFileFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QList<FileFilterEntry> entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        FileFilterEntry entry;
        entry.description = parts[i].trimmed();
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            if (!pattern.trimmed().isEmpty()) entry.patterns << pattern.trimmed();
        if (entry.patterns.isEmpty()) continue;
        entries << entry;
    }
    return entries;
}

QStringList QtNameFilters(const QString& filter) {
    QStringList names;
    for (const FileFilterEntry& entry : ParseFileFilter(filter)) {
        const QString patterns = entry.patterns.join(QLatin1Char(' '));
        const QString inBrackets = QLatin1Char('(') + patterns + QLatin1Char(')');
        if (entry.description.endsWith(inBrackets))
            names << entry.description;
        else if (entry.description.isEmpty())
            names << inBrackets;
        else
            names << entry.description + QLatin1Char(' ') + inBrackets;
    }
    return names;
}

QString ExtensionOfPattern(const QStringList& patterns) {
    if (patterns.size() != 1) return {};
    const QString& pattern = patterns.front();
    if (!pattern.startsWith(QLatin1String("*.")) || pattern.size() < 3) return {};
    const QString extension = pattern.mid(2);
    for (QChar c : extension)
        if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('.')) return {};
    return extension;
}

TrackSaveFilter MakeTrackSaveFilter(const QString& trackName, const QString& description) {
    const qsizetype dot = trackName.lastIndexOf(QLatin1Char('.'));
    const QString x = dot < 0 ? QString() : trackName.mid(dot);
    TrackSaveFilter result;
    result.filter = description + QStringLiteral("(*") + x + QStringLiteral(")|*") + x;
    result.defaultExtension = x.isEmpty() ? QString() : x.mid(1);
    return result;
}

} // namespace scr
