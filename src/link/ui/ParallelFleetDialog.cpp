#include "link/ui/ParallelFleetDialog.h"

#include "channels/WorkingCopy.h"
#include "link/FleetWrite.h"
#include "link/ParallelFleet.h"
#include "link/RadioLink.h"
#include "link/SerialPorts.h"
#include "link/ui/SafeWriteCommands.h"
#include "link/ui/TransferDialog.h"
#include "widgets/Prompter.h"

#include <QDir>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { PortColumn, StageColumn, ProgressColumn, ResultColumn, ColumnCount };

} // namespace

ParallelFleetDialog::ParallelFleetDialog(const codec::Image &image, const SafeWrite::Options &options,
                                         const QString &preselected, QWidget *parent)
    : QDialog(parent),
      logPath(FleetWrite::defaultLogPath()),
      m_image(image),
      m_options(options),
      m_mainPort(preselected)
{
    setObjectName(QStringLiteral("frmParallelFleet"));
    setWindowTitle(tr("批量写频"));
    setMinimumWidth(640);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("选择要同时写频的端口（每个端口连接一台对讲机）："), this));
    m_ports = new QListWidget(this);
    m_ports->setObjectName(QStringLiteral("lstPorts"));
    enumSerialPorts();
    const QList<SerialPortEntry> &ports = serialPortList();
    const int cable = likelyCableIndex(ports);
    for (int i = 0; i < ports.size(); ++i) {
        QString label = ports[i].device;
        if (!ports[i].description.isEmpty())
            label += QStringLiteral("  ") + ports[i].description;
        if (const QString chip = chipFamily(ports[i].vendorId, ports[i].productId); !chip.isEmpty())
            label += QStringLiteral("  [%1]").arg(chip);
        if (i == cable)
            label += tr("  ← 可能是编程线");
        auto *item = new QListWidgetItem(label, m_ports);
        item->setData(Qt::UserRole, ports[i].device);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(ports[i].device == preselected ? Qt::Checked : Qt::Unchecked);
    }
    m_ports->setMaximumHeight(m_ports->sizeHintForRow(0) * 6 + 2 * m_ports->frameWidth() + 8);
    layout->addWidget(m_ports);
    auto *fieldLabel = new QLabel(tr("其他设备（用逗号分隔）："), this);
    m_devices = new QLineEdit(this);
    m_devices->setObjectName(QStringLiteral("txtDevices"));
    m_devices->setPlaceholderText(QStringLiteral("/dev/pts/3, /dev/serial/by-id/…"));
    // A device the system does not list (a pseudo-terminal) chosen as the main window's port.
    const bool listed = std::any_of(ports.cbegin(), ports.cend(),
                                    [&](const auto &p) { return p.device == preselected; });
    if (!listed)
        m_devices->setText(preselected);
    fieldLabel->setBuddy(m_devices);
    layout->addWidget(fieldLabel);
    layout->addWidget(m_devices);

    m_table = new QTableWidget(0, ColumnCount, this);
    m_table->setObjectName(QStringLiteral("gridPorts"));
    m_table->setHorizontalHeaderLabels({tr("端口"), tr("阶段"), tr("进度"), tr("结果")});
    // The stage's caption is the long one ("写频（2/3）：正在写频…").
    m_table->horizontalHeader()->setSectionResizeMode(StageColumn, QHeaderView::Stretch);
    m_table->setColumnWidth(ResultColumn, 120);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    layout->addWidget(m_table);
    m_prompt = new QLabel(this);
    m_prompt->setObjectName(QStringLiteral("lblBatchPrompt"));
    layout->addWidget(m_prompt);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    layout->addWidget(m_summary);

    auto *buttons = new QHBoxLayout;
    m_start = new QPushButton(tr("开始"), this);
    m_start->setObjectName(QStringLiteral("cmdStart"));
    m_start->setDefault(true);
    m_cancel = new QPushButton(tr("取消"), this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_close = new QPushButton(tr("关闭"), this);
    m_close->setObjectName(QStringLiteral("cmdClose"));
    buttons->addStretch();
    for (QPushButton *b : {m_start, m_cancel, m_close})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(m_start, &QPushButton::clicked, this, &ParallelFleetDialog::onStart);
    connect(m_cancel, &QPushButton::clicked, this, &ParallelFleetDialog::onCancel);
    connect(m_close, &QPushButton::clicked, this, &ParallelFleetDialog::reject);
    setState(State::Choosing);
}

ParallelFleetDialog::~ParallelFleetDialog()
{
    // The ports still running end first, so that their rows come before the summary.
    if (m_fleet && m_fleet->batchRunning()) {
        QEventLoop loop;
        connect(m_fleet.get(), &ParallelFleet::batchDone, &loop, &QEventLoop::quit);
        m_fleet->cancel();
        loop.exec();
    }
    closeLog();
}

QStringList ParallelFleetDialog::chosenDevices() const
{
    QStringList devices;
    for (int i = 0; i < m_ports->count(); ++i)
        if (m_ports->item(i)->checkState() == Qt::Checked)
            devices << m_ports->item(i)->data(Qt::UserRole).toString();
    for (const QString &typed : m_devices->text().split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (!typed.trimmed().isEmpty())
            devices << typed.trimmed();
    return devices;
}

void ParallelFleetDialog::setState(State state)
{
    m_state = state;
    m_ports->setEnabled(state == State::Choosing);
    m_devices->setEnabled(state == State::Choosing);
    m_start->setEnabled(state == State::Choosing || state == State::BetweenBatches);
    m_start->setText(state == State::Choosing ? tr("开始") : tr("下一批"));
    m_cancel->setEnabled(state == State::Running);
    m_close->setEnabled(state != State::Running);
}

void ParallelFleetDialog::onStart()
{
    if (m_state == State::BetweenBatches) {
        startBatch();
        return;
    }
    const QStringList devices = chosenDevices();
    if (devices.isEmpty()) {
        Prompter::instance().message(this, QMessageBox::Information, tr("批量写频"), tr("请至少选择一个端口"));
        return;
    }
    if (Status s = ParallelFleet::checkDistinct(devices); !s) {
        Prompter::instance().message(this, QMessageBox::Information, tr("批量写频"), s.failure().description);
        return;
    }
    if (devices == QStringList{m_mainPort}) {
        m_singleMainPort = true;
        accept();
        return;
    }
    auto fleet = std::make_unique<ParallelFleet>(devices);
    // A log that cannot take the rows stops the run before the first radio; a stored
    // value, the file written is named in Chinese.
    if (Status s = fleet->openLog(logPath, QStringLiteral("编辑器")); !s) {
        Prompter::instance().message(this, QMessageBox::Information, tr("批量写频"), s.failure().description);
        return;
    }
    m_fleet = std::move(fleet);
    m_fleet->options = m_options;
    if (prepareFleet)
        prepareFleet(*m_fleet);
    m_table->setRowCount(int(devices.size()));
    for (int row = 0; row < devices.size(); ++row) {
        m_table->setItem(row, PortColumn, new QTableWidgetItem(devices[row]));
        m_table->setItem(row, StageColumn, new QTableWidgetItem);
        m_table->setItem(row, ResultColumn, new QTableWidgetItem);
        auto *bar = new QProgressBar(m_table);
        m_table->setCellWidget(row, ProgressColumn, bar);
        m_bars << bar;
    }
    m_table->resizeColumnToContents(PortColumn);
    connect(m_fleet.get(), &ParallelFleet::portCaption, this,
            [this](int port, const QString &caption) { m_table->item(port, StageColumn)->setText(caption); });
    connect(m_fleet.get(), &ParallelFleet::portProgress, this, [this](int port, int value, int maximum) {
        m_bars[port]->setRange(0, maximum);
        m_bars[port]->setValue(value);
    });
    connect(m_fleet.get(), &ParallelFleet::radioDone, this, [this](const ParallelFleet::Radio &radio) {
        QTableWidgetItem *result = m_table->item(radio.port, ResultColumn);
        result->setText(FleetWrite::shownResult(radio.kind));
        result->setToolTip((radio.messages + QStringList{radio.outcome.text}).join(QLatin1Char('\n')));
        // A failed radio stands out while the others go on.
        result->setForeground(radio.outcome.ok ? palette().text() : QBrush(Qt::white));
        result->setBackground(radio.outcome.ok ? QBrush() : QBrush(QColor(0xC0, 0x20, 0x20)));
        if (radio.outcome.ok)
            m_bars[radio.port]->setValue(m_bars[radio.port]->maximum());
    });
    connect(m_fleet.get(), &ParallelFleet::batchDone, this, &ParallelFleetDialog::onBatchDone);
    startBatch();
}

void ParallelFleetDialog::startBatch()
{
    for (int row = 0; row < m_table->rowCount(); ++row) {
        m_table->item(row, StageColumn)->setText(QString());
        QTableWidgetItem *result = m_table->item(row, ResultColumn);
        result->setText(QString());
        result->setToolTip(QString());
        result->setBackground(QBrush());
        result->setForeground(palette().text());
        m_bars[row]->setValue(0);
    }
    m_prompt->clear();
    setState(State::Running);
    m_fleet->startBatch(m_image, int(m_fleet->devices().size()));
}

void ParallelFleetDialog::onBatchDone()
{
    m_summary->setText(m_fleet->summary());
    if (m_fleet->cancelled()) {
        setState(State::Finished);
        return;
    }
    m_prompt->setText(tr("请在 %1 个端口上连接下一批对讲机，然后点击“下一批”").arg(m_fleet->devices().size()));
    setState(State::BetweenBatches);
}

void ParallelFleetDialog::onCancel()
{
    if (m_state != State::Running || !TransferDialog::cancelConfirmed(this))
        return;
    // The dialog may have finished the batch while the question was open.
    if (m_fleet && m_state == State::Running)
        m_fleet->cancel();
}

void ParallelFleetDialog::reject()
{
    if (m_state == State::Running) {
        onCancel();
        return;
    }
    closeLog();
    QDialog::reject();
}

void ParallelFleetDialog::closeLog()
{
    if (m_logClosed || !m_fleet)
        return;
    m_logClosed = true;
    if (Status s = m_fleet->closeLog(); !s)
        Prompter::instance().message(this, QMessageBox::Information, tr("批量写频"), s.failure().description);
}

void parallelFleetCommand(QWidget *parent, WorkingCopy &wc, RadioLink &link, bool keepRadioTuning)
{
    const Result<codec::Image> image = RadioLink::writeImage(wc);
    if (!image) {
        Prompter::instance().message(parent, QMessageBox::Information, QString::number(image.failure().number),
                                     image.failure().description);
        return;
    }
    const SafeWriteChoices choices = SafeWriteChoices::load();
    SafeWrite::Options options;
    options.backup = choices.backup;
    options.verify = choices.verify;
    options.keepTuning = keepRadioTuning;
    bool oneAfterAnother = false;
    {
        ParallelFleetDialog dialog(*image, options, link.chosenDevice(), parent);
        dialog.exec();
        oneAfterAnother = dialog.singleMainPort();
    }
    if (oneAfterAnother)
        fleetWriteCommand(parent, wc, link, keepRadioTuning);
}
