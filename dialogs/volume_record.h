#pragma once

#include <QString>

#include <functional>

// The record of an archive's volumes that make-installer writes beside the
// archive: `<archive>.sha256`, one line per volume in the format sha256sum
// writes ("<64 hex digits>  <name>"), names relative to the archive's folder.
// Setup checks it before the first entry is written, so a damaged or cut
// download is refused instead of half-installed.
QString VolumeRecordPath(const QString& archivePath);

struct VolumeCheck {
    enum class Outcome {
        NoRecord, // the folder has no record: nothing to check
        Intact,
        Missing,   // `file` is not there
        Damaged,   // `file` differs from what was recorded
        BadRecord, // the record itself cannot be read
        Cancelled,
    };
    Outcome outcome;
    QString file; // the name at fault
};

// Reports the bytes checked so far of all recorded volumes, with the name
// being read; answers false to stop the check.
using VolumeCheckProgress = std::function<bool(const QString& name, qint64 done, qint64 total)>;

// Checks every volume the record beside `archivePath` names.
VolumeCheck CheckRecordedVolumes(const QString& archivePath, const VolumeCheckProgress& progress);
