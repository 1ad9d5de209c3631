#pragma once
// File-dialog filters in their stored form: pairs of a description and a
// pattern separated by vertical bars, as the language tables carry them
// ("JPEG picture (*.jpg)|*.jpg|Bitmap picture (*.bmp)|*.bmp"); patterns of
// one entry are separated by ';'.

#include <QString>
#include <QStringList>

namespace scr {

struct FileFilterEntry {
    QString description;
    QStringList patterns;
};

// The entries of a stored filter; a description without its pattern is dropped.
QList<FileFilterEntry> ParseFileFilter(const QString& filter);

// The entries as Qt's file dialog names them: "description (patterns)"; a
// description that already ends with its patterns in brackets stays as it is.
QStringList QtNameFilters(const QString& filter);

// The extension a single "*.ext" pattern implies ("ext"), or empty text.
QString ExtensionOfPattern(const QStringList& patterns);

// The filter and default extension for saving a music track, from the track's
// display name: X is the name from its last '.' on (empty without a dot); the
// filter is description + "(*" + X + ")|*" + X and the default extension X
// without its dot.
struct TrackSaveFilter {
    QString filter;
    QString defaultExtension;
};
TrackSaveFilter MakeTrackSaveFilter(const QString& trackName, const QString& description);

} // namespace scr
