#pragma once

#include <QObject>
#include <QPointer>

class QWidget;
class RadioLink;
class WorkingCopy;
struct LinkMessage;

// The main window's radio commands. Each asks first, opens the chosen port, runs the
// transfer in the progress dialog and closes the port whatever happened. Every box goes
// through Prompter::instance().

// "读频(&R)" and the toolbar's "读频": the received image is loaded into wc.
void readRadioCommand(QWidget *parent, WorkingCopy &wc, RadioLink &link);
// "写频(&W)" and the toolbar's "写频".
void writeRadioCommand(QWidget *parent, WorkingCopy &wc, RadioLink &link);
// "选择端口(&P)": the port dialog; afterwards the port number is portOption + 1, however the
// dialog was closed.
void choosePortCommand(QWidget *parent, RadioLink &link);

// Shows the link's messages as boxes over parent while it exists. When several exist
// for one link (the main window's, and the progress dialog's during a transfer), only the
// newest shows them, so every message is one box.
class LinkMessageBoxes : public QObject
{
    Q_OBJECT
public:
    LinkMessageBoxes(RadioLink &link, QWidget *parent);
    ~LinkMessageBoxes() override;

private:
    void show(const LinkMessage &m);
    QWidget *m_parent;
    QPointer<RadioLink> m_link;
    QPointer<LinkMessageBoxes> m_covered; // the one that shows again when this one goes
};
