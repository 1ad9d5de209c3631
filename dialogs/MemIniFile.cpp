#include "dialogs/MemIniFile.h"

namespace scr {

MemIniFile::MemIniFile(const QStringList& lines) {
    Section* current = nullptr;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u';')) continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            const QString name = line.mid(1, line.size() - 2);
            current = nullptr;
            for (Section& section : sections_)
                if (section.name.compare(name, Qt::CaseInsensitive) == 0) current = &section;
            if (!current) current = &sections_.emplace_back(Section{name, {}});
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!current || equals < 0) continue;
        current->entries.push_back({line.left(equals).trimmed(), line.mid(equals + 1).trimmed()});
    }
}

QString MemIniFile::ReadString(const QString& section, const QString& key, const QString& fallback) const {
    for (const Section& s : sections_) {
        if (s.name.compare(section, Qt::CaseInsensitive) != 0) continue;
        for (const Entry& entry : s.entries)
            if (entry.key.compare(key, Qt::CaseInsensitive) == 0) return entry.value;
        return fallback;
    }
    return fallback;
}

bool MemIniFile::SectionExists(const QString& section) const {
    for (const Section& s : sections_)
        if (s.name.compare(section, Qt::CaseInsensitive) == 0) return true;
    return false;
}

} // namespace scr
