#pragma once
// An INI text held in memory, read with the usual rules of the class
// library's memory INI file:
//  - lines are trimmed; empty lines and lines starting with ';' are skipped;
//  - "[name]" starts a section; section names are compared without regard to case;
//  - "key=value" lines belong to the section above them (lines before the
//    first section and lines without '=' are ignored); key and value are
//    trimmed, the value may contain further '=' signs; keys are compared
//    without regard to case;
//  - the first entry of a key wins; a section that appears twice is read as one.

#include <QString>
#include <QStringList>
#include <vector>

namespace scr {

class MemIniFile {
public:
    explicit MemIniFile(const QStringList& lines);

    // The value of key in section, or `fallback` when either is missing.
    QString ReadString(const QString& section, const QString& key, const QString& fallback = {}) const;
    bool SectionExists(const QString& section) const;

private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        std::vector<Entry> entries;
    };
    std::vector<Section> sections_;
};

} // namespace scr
