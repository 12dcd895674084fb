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
    QDateTime taken;     // local time, from the file name
    QString model;       // the model list's text, empty for an unknown model code
    QString firstChannel; // receive frequency of channel 1 ("450.02500", "OFF")
};

// The radio backups a safe write takes before it writes: channel files named
// YYYYMMDD-HHMMSS.chp (a second one in the same second gets "-2", "-3", …) in a folder
// only the user may open. Files are readable by the user alone and written all at once.
// Backups older than KeepDays and all beyond the newest MaxFiles are removed, oldest
// first, whenever a new one is stored. Files in the folder that do not carry a backup
// name are never touched.
class BackupStore
{
public:
    static constexpr int KeepDays = 365;
    static constexpr int MaxFiles = 500;

    // An empty folder means backups/ in the per-user data folder (looked up when used,
    // after the application has its name).
    explicit BackupStore(const QString &folder = {});

    QString folder() const;
    static QString defaultFolder();

    // The local time a new backup is named after; tests set their own.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    // Stores the image as a new backup; its path.
    Result<QString> store(const codec::Image &image);
    // The backups, newest first.
    QList<BackupEntry> list() const;
    // Removes what is past the age and count limits; the number of files removed.
    int prune() const;

    // Loads a backup into wc as opening it would, through a fresh working copy: wc
    // changes only when the whole file loaded.
    static Status loadInto(WorkingCopy &wc, const QString &path);

private:
    struct Named
    {
        QString path;
        QDateTime taken;
        int serial;
    };
    QList<Named> backups() const; // newest first
    Status makeFolder() const;

    QString m_folder;
};

// A memory image as channel-file text: 128 lines "52 hh ll 08" and the 8 data bytes,
// as the radio sends each block.
QByteArray imageChannelText(const codec::Image &image);
