#pragma once

class QString;
class QWidget;
class RadioLink;
class WorkingCopy;

// The choices of the 编程 menu's "写频前备份" and "写频后校验", both on until the user
// turns them off; remembered between runs.
struct SafeWriteChoices
{
    bool backup = true;
    bool verify = true;
    static SafeWriteChoices load();
    void save() const;
};

// "写频(&W)" and the toolbar's "写频": with neither backup nor verification chosen, the
// plain write; otherwise the safe sequence in one progress dialog. keepRadioTuning: the
// radio's crystal, sign and power step from the backup go into the image (false once the
// user has changed them in tune mode during this run). The result stays in the progress
// dialog until it is closed. After a failed or cancelled write with a backup, offers to
// load the backup into the editor; loadedBackup gets its path when it was loaded. True
// when a write ran to its end (and, with verification, read back the same); then its
// result text (which tuning values were kept) goes to summary when given.
bool safeWriteCommand(QWidget *parent, WorkingCopy &wc, RadioLink &link, bool keepRadioTuning,
                      QString *summary = nullptr, QString *loadedBackup = nullptr);
// "批量写频…": the editor written to one radio after another, each with the chosen
// stages; "请连接第 k 台对讲机" between radios, a table of the radios done and the summary,
// which also goes to fleet-log.csv.
void fleetWriteCommand(QWidget *parent, WorkingCopy &wc, RadioLink &link, bool keepRadioTuning);
