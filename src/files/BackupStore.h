#pragma once

#include "channels/Codec.h"
#include "support/Failure.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>

class WorkingCopy;

// One backup of a radio's memory, as the list of backups shows it.
struct BackupEntry
{
    QString path;
    QDateTime taken; // local time, from the file name
    QString model; // the model list's text, empty for an unknown model code
    QString firstChannel; // receive frequency of channel 1 ("450.02500", "OFF")
    QString port; // the port's name as the file name keeps it ("ttyUSB0", "pts-3"); may be empty
    int fleetPosition = 0; // the radio's number in a fleet run (1, 2, …); 0 for a single write
};

// Where a backup came from, kept in its file name so that backups of one fleet run,
// taken within a few seconds of the same kind of radio, can be told apart.
struct BackupOrigin
{
    QString port; // the device path ("/dev/ttyUSB0"); empty when unknown
    int fleetPosition = 0; // 0: not part of a fleet run
};

// The radio backups a safe write takes before it writes: channel files named
// YYYYMMDD-HHMMSS.chp (a second one in the same second gets "-2", "-3", …), with the
// port and the fleet position when known ("20261208-120000_ttyUSB0_3.chp"), in a folder
// only the user may open. Files are readable by the user alone and written all at once.
//
// Whenever a new one is stored, the store is pruned, oldest first. "Newest" is by file
// modification time, then by name, so a clock set wrong when a backup was named does not
// reorder the store. The backup just stored is never removed. Beyond the ProtectedNewest
// newest, a backup is removed when both its name and its modification time are more than
// KeepDays before now (a time in the future counts as new); and the oldest are removed
// while there are more than MaxFiles. A clock that is far ahead therefore costs at most
// the backups beyond the newest ProtectedNewest, never the store. Files in the folder that
// do not carry a backup name are never touched.
class BackupStore
{
public:
    static constexpr int KeepDays = 365;
    static constexpr int MaxFiles = 500;
    static constexpr int ProtectedNewest = 20;

    // An empty folder means backups/ in the per-user data folder (looked up when used,
    // after the application has its name).
    explicit BackupStore(const QString &folder = {});

    QString folder() const;
    static QString defaultFolder();

    // The local time a new backup is named after; tests set their own.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    // Stores the image as a new backup, then prunes; its path.
    Result<QString> store(const codec::Image &image, const BackupOrigin &origin = {});
    // The backups, newest first.
    QList<BackupEntry> list() const;
    // Removes what is past the age and count limits, never `keep`; the number of files
    // removed.
    int prune(const QString &keep = {}) const;

    // Loads a backup into wc as opening it would, through a fresh working copy: wc
    // changes only when the whole file loaded.
    static Status loadInto(WorkingCopy &wc, const QString &path);

private:
    struct Named
    {
        QString path;
        QDateTime taken; // from the name
        QDateTime modified; // the file's modification time
        int serial = 1;
        QString port;
        int fleetPosition = 0;
    };
    QList<Named> backups() const; // newest first: by modification time, then by name
    Status makeFolder() const;

    QString m_folder;
};

// A memory image as channel-file text: 128 lines "52 hh ll 08" and the 8 data bytes,
// as the radio sends each block.
QByteArray imageChannelText(const codec::Image &image);
