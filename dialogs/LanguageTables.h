#pragma once
// The interface language of the dialogs: two plain-text tables that travel
// with the package. The dynamic texts are a list of lines the code looks up by
// index (titles, messages, button texts); the static captions are an INI text
// whose section for a form holds one entry "S_<Tag>" per caption.
//
// An appended package holds both tables, scrambled, at its start +
// LanguageOffset: DynamicTextSize bytes of dynamic texts, then StaticTextSize
// bytes of static captions. Without an appended package the program's own
// resources "LNGDYNA" and "LNGSTATIC" (scrambled the same way) serve.
// The two characters "\n" in any line stand for a line break.

#include "package/PackageTrailer.h"

#include <QString>
#include <QStringList>
#include <stdexcept>
#include <string>

class QObject;

namespace scr {

// Where the tables of a run are found: the file the package is read from,
// whether a package is appended to it, and that package's trailer fields.
struct LanguageSource {
    std::string path;
    bool appended = false;
    TrailerFields trailer;
};

// The source for a file: appended when the file carries a complete, valid trailer.
LanguageSource LanguageSourceOf(const std::string& path);

// Raised when the table sizes of an appended package reach beyond the end of
// the file (or are negative): the form under construction cannot be built,
// and the program entry reports the error.
class LanguageTableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct LanguageTables {
    QStringList dynamicTexts;
    QStringList staticCaptions;
};

// Reads and unscrambles both tables and replaces the "\n" escapes. False,
// with `tables` untouched, when the package file cannot be opened. Throws
// LanguageTableError for sizes beyond the file.
bool ReadLanguageTables(const LanguageSource& source, LanguageTables& tables);

// Loads both tables, replaces the content of `dynamicTexts` with the dynamic
// texts and applies the static captions of `section` to the form. When the
// package file cannot be opened, nothing changes.
void LoadLanguage(const QString& section, QStringList& dynamicTexts, const LanguageSource& source,
                  QObject* form);

// Applies the captions of one section to every component of the form (all
// its descendants, in creation order) that has a
// caption-bearing role (see ComponentRole.h) and a Tag of 0 or more: the
// entry "S_<Tag>" becomes its caption; an entry that is missing or empty
// leaves the component as it is.
void ApplyCaptions(const QStringList& staticCaptions, const QString& section, QObject* form);

// The program's own English tables (its resources "LNGDYNA" and "LNGSTATIC").
LanguageTables ProgramLanguageTables();

// Applies the captions of one section of the program's own English table:
// the forms' default captions, which the tables of a package then override.
void ApplyProgramCaptions(const QString& section, QObject* form);

// The entry at `index`, or an empty text when the index is negative or not below the count.
QString DynamicText(int index, const QStringList& list);

// A table's bytes (already unscrambled, in the system code page) as lines:
// CR LF, LF and CR end a line; a final line break adds no empty line.
QStringList SplitTableLines(const std::string& bytes);

// Replaces every backslash-n pair in every line with a line feed.
void ReplaceLineBreakEscapes(QStringList& lines);

} // namespace scr
