#include "TuneWindow.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>

#include "channels/Tables.h"
#include "channels/WorkingCopy.h"
#include "widgets/AppInfo.h"
#include "widgets/Prompter.h"
#include "tune/ui/UpDown.h"

namespace {

// The texts retranslateUi() sets.
const char *const LabelTexts[] = {
    QT_TRANSLATE_NOOP("TuneWindow", "机型："),          QT_TRANSLATE_NOOP("TuneWindow", "高端频率(MHz)："),
    QT_TRANSLATE_NOOP("TuneWindow", "低端频率(MHz)："), QT_TRANSLATE_NOOP("TuneWindow", "中频："),
    QT_TRANSLATE_NOOP("TuneWindow", "晶体："),          QT_TRANSLATE_NOOP("TuneWindow", "频率："),
    QT_TRANSLATE_NOOP("TuneWindow", "功率调整：")};

QLabel *label(QWidget *parent, const char *name)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QLineEdit *limitField(QWidget *parent, const char *name)
{
    auto *f = new QLineEdit(parent);
    f->setObjectName(QLatin1String(name));
    // Three digits of whole megahertz; the band string keeps each limit at fixed places.
    f->setMaxLength(3);
    f->setFixedWidth(f->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
    return f;
}

UpDown *upDownFor(QLineEdit *field, const char *name)
{
    auto *u = new UpDown(field->parentWidget());
    u->setObjectName(QLatin1String(name));
    u->setBuddy(field);
    u->setRange(100, 999);
    u->setSingleStep(1);
    u->setFixedHeight(field->sizeHint().height());
    return u;
}

// A field with its up-down control, as one cell of the page grid.
QWidget *withUpDown(QWidget *parent, QLineEdit *field, UpDown *upDown)
{
    auto *cell = new QWidget(parent);
    auto *h = new QHBoxLayout(cell);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    field->setParent(cell);
    upDown->setParent(cell);
    h->addWidget(field);
    h->addWidget(upDown);
    h->addStretch(1);
    return cell;
}

const char ValueProperty[] = "tarnikValue";

// Two exclusive options, named name(0) and name(1), at the end of `row`; their button
// group is called `name`.
void addOptionPair(QHBoxLayout *row, QRadioButton *(&pair)[2], const char *name, const char16_t *first,
                   const char16_t *second)
{
    QWidget *parent = row->parentWidget();
    auto *group = new QButtonGroup(parent);
    group->setObjectName(QLatin1String(name));
    const char16_t *texts[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        // The sign options are values (正, 负), shown in the chosen language.
        pair[i] = new QRadioButton(tables::shown(QString::fromUtf16(texts[i])), parent);
        pair[i]->setProperty(ValueProperty, QString::fromUtf16(texts[i]));
        pair[i]->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i));
        group->addButton(pair[i], i);
        row->addWidget(pair[i]);
    }
    row->addStretch(1);
}

QComboBox *modelCombo(QWidget *parent, const char *name)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->addItems(tables::modelRows());
    return c;
}

} // namespace

TuneWindow::TuneWindow(WorkingCopy &wc, QWidget *parent) : QDialog(parent), m_wc(wc)
{
    setObjectName(QStringLiteral("frmMODE"));
    setModal(true);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("tremode"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setRootIsDecorated(true);
    m_tree->setFixedWidth(140);
    buildTree();

    auto *right = new QWidget(this);
    auto *grid = new QGridLayout(right);
    grid->setContentsMargins(12, 8, 8, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(10);

    m_modelLabel = label(right, "lblRadiomodel");
    m_bandModelList = modelCombo(right, "cboPCmodel(0)");
    m_powerModelList = modelCombo(right, "cboPCmodel(1)");
    // Shown only: the power step belongs to the radio, not to a model.
    m_powerModelList->setEnabled(false);

    m_highLimitLabel = label(right, "Label1");
    m_highLimitField = limitField(right, "Text1");
    m_highLimitUpDown = upDownFor(m_highLimitField, "UpDown1");
    m_lowLimitLabel = label(right, "Label2");
    m_lowLimitField = limitField(right, "Text2");
    m_lowLimitUpDown = upDownFor(m_lowLimitField, "UpDown2");

    m_ifSignLabel = label(right, "Label3");
    auto *signCell = new QWidget(right);
    auto *signRow = new QHBoxLayout(signCell);
    signRow->setContentsMargins(0, 0, 0, 0);
    addOptionPair(signRow, m_ifSignOptions, "Option1", tables::signPositive, tables::signNegative);

    m_crystalFrame = new QFrame(right);
    m_crystalFrame->setObjectName(QStringLiteral("fraJT"));
    m_crystalFrame->setFrameShape(QFrame::NoFrame);
    auto *crystalRow = new QHBoxLayout(m_crystalFrame);
    crystalRow->setContentsMargins(0, 0, 0, 0);
    crystalRow->setSpacing(grid->horizontalSpacing());
    m_crystalLabel = label(m_crystalFrame, "Label4");
    crystalRow->addWidget(m_crystalLabel);
    addOptionPair(crystalRow, m_crystalOptions, "optJT", tables::crystal13, tables::crystal144);

    m_bandLabel = label(right, "Label5");
    m_bandField = new QLineEdit(right);
    m_bandField->setObjectName(QStringLiteral("freQuent"));
    m_bandField->setReadOnly(true);
    m_bandField->setFocusPolicy(Qt::NoFocus);
    m_bandField->setFixedWidth(m_bandField->fontMetrics().horizontalAdvance(QStringLiteral("000MHz---000MHz")) + 16);
    m_powerStepLabel = label(right, "Label6");
    m_powerStepList = new QComboBox(right);
    m_powerStepList->setObjectName(QStringLiteral("cboFrequent"));
    m_powerStepList->addItems(tables::powerStepRows());

    // One grid for both pages: the model row is shared, the frequency page takes rows
    // 1–4 and the power page rows 5–6; the hidden page's rows take no room.
    auto *modelCell = new QWidget(right);
    auto *modelRow = new QHBoxLayout(modelCell);
    modelRow->setContentsMargins(0, 0, 0, 0);
    modelRow->addWidget(m_bandModelList);
    modelRow->addWidget(m_powerModelList);
    modelRow->addStretch(1);
    QWidget *highLimitCell = withUpDown(right, m_highLimitField, m_highLimitUpDown);
    QWidget *lowLimitCell = withUpDown(right, m_lowLimitField, m_lowLimitUpDown);

    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    grid->addWidget(m_modelLabel, 0, 0, left);
    grid->addWidget(modelCell, 0, 1);
    grid->addWidget(m_highLimitLabel, 1, 0, left);
    grid->addWidget(highLimitCell, 1, 1);
    grid->addWidget(m_lowLimitLabel, 2, 0, left);
    grid->addWidget(lowLimitCell, 2, 1);
    grid->addWidget(m_ifSignLabel, 3, 0, left);
    grid->addWidget(signCell, 3, 1);
    grid->addWidget(m_crystalFrame, 4, 0, 1, 2);
    grid->addWidget(m_bandLabel, 5, 0, left);
    grid->addWidget(m_bandField, 5, 1, left);
    grid->addWidget(m_powerStepLabel, 6, 0, left);
    grid->addWidget(m_powerStepList, 6, 1, left);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(1, 1);
    // Rows of even height, whichever control they hold.
    const int rowHeight = std::max({m_bandModelList->sizeHint().height(), m_highLimitField->sizeHint().height(),
                                    m_ifSignOptions[0]->sizeHint().height()});
    for (QWidget *cell : {modelCell, highLimitCell, lowLimitCell, signCell, static_cast<QWidget *>(m_crystalFrame),
                          static_cast<QWidget *>(m_bandField), static_cast<QWidget *>(m_powerStepList)})
        cell->setMinimumHeight(rowHeight);
    m_grid = grid;

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_tree);
    layout->addWidget(right, 1);

    connect(m_tree, &QTreeWidget::itemClicked, this, &TuneWindow::onTreeNodeClicked);
    connect(m_tree, &QTreeWidget::itemActivated, this, &TuneWindow::onTreeNodeClicked);
    connect(m_bandModelList, &QComboBox::currentIndexChanged, this, &TuneWindow::onModelChosen);
    // Text typed or set from outside is checked; the band read for a model is put in
    // as it stands, so a model without a band empties the fields without a message.
    connect(m_highLimitField, &QLineEdit::textChanged, this,
            [this](const QString &t) { limitEdited(m_highLimitField, t); });
    connect(m_lowLimitField, &QLineEdit::textChanged, this,
            [this](const QString &t) { limitEdited(m_lowLimitField, t); });

    showForm(tune::loadTuneForm(m_wc));
    showPage(Page::Frequency);
    retranslateUi();
}

void TuneWindow::retranslateUi()
{
    setWindowTitle(tr("调整模式"));
    QLabel *const labels[] = {m_modelLabel,   m_highLimitLabel, m_lowLimitLabel, m_ifSignLabel,
                              m_crystalLabel, m_bandLabel,      m_powerStepLabel};
    for (size_t i = 0; i < std::size(labels); ++i)
        labels[i]->setText(tr(LabelTexts[i]));
    for (QRadioButton *option : m_ifSignOptions)
        option->setText(tables::shown(option->property(ValueProperty).toString()));
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        (*it)->setText(0, tr((*it)->data(0, SourceRole).toByteArray().constData()));
    // The crystal label sits in its frame; it takes the label column's width so its
    // options line up with the rows above.
    int labelWidth = 0;
    for (QLabel *l : labels)
        labelWidth = std::max(labelWidth, l->sizeHint().width());
    m_crystalLabel->setFixedWidth(labelWidth);
    m_grid->setColumnMinimumWidth(0, labelWidth);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setFixedSize(sizeHint());
}

void TuneWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void TuneWindow::buildTree()
{
    const auto add = [this](QTreeWidgetItem *parent, const char *text, const char *key, const char *tag,
                            QStyle::StandardPixmap icon) {
        auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
        item->setData(0, SourceRole, QByteArray(text));
        item->setData(0, Qt::UserRole, QLatin1String(key));
        if (tag)
            item->setData(0, TagRole, QLatin1String(tag));
        item->setIcon(0, style()->standardIcon(icon));
        return item;
    };
    QTreeWidgetItem *items = add(nullptr, QT_TR_NOOP("调整项"), "node1", nullptr, QStyle::SP_DirOpenIcon);
    add(items, QT_TR_NOOP("频率调整"), "frequent", "1", QStyle::SP_FileDialogDetailedView);
    add(items, QT_TR_NOOP("功率调整"), "power", "2", QStyle::SP_FileDialogDetailedView);
    add(nullptr, QT_TR_NOOP("退出调整"), "node2", "3", QStyle::SP_DialogCloseButton);
    items->setExpanded(true);
}

QTreeWidgetItem *TuneWindow::node(const QString &key) const
{
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString() == key)
            return *it;
    }
    return nullptr;
}

void TuneWindow::showForm(const tune::TuneForm &form)
{
    const QSignalBlocker block(m_bandModelList);
    const QScopedValueRollback filling(m_filling, true);
    m_bandModelList->setCurrentIndex(form.modelRow);
    m_powerModelList->setCurrentIndex(form.powerModelRow);
    m_highLimitField->setText(form.high);
    m_lowLimitField->setText(form.low);
    m_bandText = form.bandText;
    m_bandField->setText(form.bandText);
    m_powerStepList->setCurrentIndex(form.powerRow);
    m_crystalOptions[form.crystal == 1 ? 1 : 0]->setChecked(true);
    m_ifSignOptions[form.sign == 1 ? 1 : 0]->setChecked(true);
}

tune::TuneForm TuneWindow::form() const
{
    tune::TuneForm f;
    f.modelRow = m_bandModelList->currentIndex();
    f.powerModelRow = m_powerModelList->currentIndex();
    f.high = m_highLimitField->text();
    f.low = m_lowLimitField->text();
    f.bandText = m_bandText;
    f.powerRow = m_powerStepList->currentIndex();
    f.crystal = m_crystalOptions[0]->isChecked() ? 0 : 1;
    f.sign = m_ifSignOptions[0]->isChecked() ? 0 : 1;
    return f;
}

void TuneWindow::showPage(Page page)
{
    m_page = page;
    m_tree->setCurrentItem(node(page == Page::Frequency ? QStringLiteral("frequent") : QStringLiteral("power")));
    const bool frequency = page == Page::Frequency;
    for (QWidget *w : std::initializer_list<QWidget *>{
             m_bandModelList, m_highLimitLabel, m_lowLimitLabel, m_ifSignLabel, m_highLimitField->parentWidget(),
             m_lowLimitField->parentWidget(), m_ifSignOptions[0]->parentWidget(), m_crystalFrame})
        w->setVisible(frequency);
    for (QWidget *w : std::initializer_list<QWidget *>{m_powerModelList, m_bandLabel, m_bandField, m_powerStepLabel,
                                                       m_powerStepList})
        w->setVisible(!frequency);
}

void TuneWindow::onTreeNodeClicked(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const QString tag = item->data(0, TagRole).toString();
    if (tag == QLatin1String("1"))
        showPage(Page::Frequency);
    else if (tag == QLatin1String("2"))
        showPage(Page::Power);
    else if (tag == QLatin1String("3"))
        commitAndClose(tune::Leave::Exit);
}

void TuneWindow::onModelChosen(int row)
{
    tune::TuneForm f = form();
    tune::chooseModel(f, m_wc, row);
    if (f.modelRow < 0)
        return;
    const QScopedValueRollback filling(m_filling, true);
    m_highLimitField->setText(f.high);
    m_lowLimitField->setText(f.low);
}

void TuneWindow::limitEdited(QLineEdit *field, const QString &text)
{
    if (m_filling || tune::isNumberText(text))
        return;
    // The message is answered before the field empties; emptying it is no new entry.
    const QScopedValueRollback filling(m_filling, true);
    Prompter::instance().message(this, QMessageBox::NoIcon, appinfo::title(), tr("请输入数字"));
    field->clear();
}

bool TuneWindow::bandAcceptable()
{
    const tune::TuneForm f = form();
    if (f.modelRow < 0 || (f.low.isEmpty() && f.high.isEmpty()))
        return true;
    QString problem;
    if (!tune::isCompleteLimit(f.low) || !tune::isCompleteLimit(f.high))
        problem = tr("频段的下限和上限须各为三位数字（例如 400 和 470），频段未保存。");
    else if (f.low.toInt() > f.high.toInt())
        problem = tr("频段的下限高于上限，频段未保存。");
    if (problem.isEmpty())
        return true;
    Prompter::instance().message(this, QMessageBox::Warning, tr("提示"), problem);
    return false;
}

void TuneWindow::commitAndClose(tune::Leave how)
{
    if (m_closing || !bandAcceptable())
        return;
    m_closing = true;
    // However the window is left, the band goes where "退出调整" puts it.
    const tune::CommitOutcome out = tune::commitTuneForm(m_wc, form(), tune::Leave::Exit, m_settingsPath);
    if (out.bandStored && !out.written) {
        Prompter::instance().message(this, QMessageBox::Critical, tr("错误"),
                                     tr("无法写入设置文件 %1，%2 的新频段只在本次运行中有效。").arg(out.path, out.key));
    }
    if (how == tune::Leave::Exit)
        accept();
    else
        QDialog::reject();
}

void TuneWindow::reject()
{
    // The close box and Esc keep the values as "退出调整" does; the window stays open
    // while its band cannot be stored.
    commitAndClose(tune::Leave::CloseBox);
}

void TuneWindow::closeEvent(QCloseEvent *event)
{
    // A shown window goes through reject(); one never shown keeps its values all the same.
    if (!isVisible() && !m_closing)
        commitAndClose(tune::Leave::CloseBox);
    QDialog::closeEvent(event);
}

void TuneWindow::showEvent(QShowEvent *event)
{
    // Shown again after closing: start from the working copy as it stands now.
    if (!event->spontaneous() && m_closing) {
        m_closing = false;
        showForm(tune::loadTuneForm(m_wc));
        showPage(Page::Frequency);
    }
    QDialog::showEvent(event);
}
