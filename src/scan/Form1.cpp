#include "scan/Form1.h"

#include "platform/Database.h"
#include "platform/Interaction.h"
#include "platform/TextFile.h"
#include "scan/KeyFileBuilder.h"

#include <QFocusEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace tav {
namespace {

// The table list keeps "no current item" until the operator clicks or moves to one;
// taking the focus alone does not make the first item current.
class TableList : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    void focusInEvent(QFocusEvent* event) override {
        const bool hadCurrent = currentIndex().isValid();
        QListWidget::focusInEvent(event);
        if (!hadCurrent)
            selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
};

} // namespace

Form1::Form1(const ProgramFolder& folder, MessageBoxes& messages, QWidget* parent)
    : QWidget(parent, Qt::Window), folder_(folder), messages_(messages) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Generate Template File"));

    Label1 = new QLabel(QStringLiteral("Generate Template File"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont captionFont = Label1->font();
    captionFont.setBold(true);
    Label1->setFont(captionFont);
    Label1->setAlignment(Qt::AlignCenter);

    List1 = new TableList(this);
    List1->setObjectName(QStringLiteral("List1"));
    // A click selects or deselects one item, as a simple multi-selection list does.
    List1->setSelectionMode(QAbstractItemView::MultiSelection);

    Command1 = new QPushButton(QStringLiteral("Generate Result"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);

    auto* column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addWidget(List1, 1);
    column->addWidget(Command1);
    resize(360, 420);
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Form_Load();
}

void Form1::Form_Load() {
    if (loaded_)
        return;
    loaded_ = true;
    LoadTableList();
}

void Form1::LoadTableList() {
    if (!folder_.hasFile(QStringLiteral("Reports.mdb"))) {
        messages_.show(QStringLiteral("File does not Exists"), QString(), MessageIcon::None);
        return;
    }
    const QStringList listed = ReadTableSlots(folder_);
    const std::unique_ptr<Database> database =
        Database::openExisting(folder_.file(QStringLiteral("Reports.mdb")));
    if (!database)
        return;
    for (const QString& table : database->tablesAndViews()) {
        if (table.left(4) == QLatin1String("MSys"))
            continue;
        auto* item = new QListWidgetItem(table, List1);
        if (IsInArray(table, listed))
            item->setSelected(true);
    }
}

bool Form1::IsInArray(const QString& value, const QStringList& array) {
    // The elements joined between NUL characters hold NUL, the value and NUL exactly
    // when one whole element equals the value.
    const QChar nul(0);
    const QString joined = nul + array.join(nul) + nul;
    return joined.contains(nul + value + nul, Qt::CaseSensitive);
}

QStringList Form1::selectedTables() const {
    QStringList tables;
    for (int row = 0; row < List1->count(); ++row) {
        const QListWidgetItem* item = List1->item(row);
        if (item->isSelected())
            tables.append(item->text());
    }
    return tables;
}

void Form1::Command1_Click() {
    const QStringList tables = selectedTables();
    // Before any item was clicked the reminder is shown, and the preselected tables
    // are generated all the same; with none preselected nothing was chosen yet, and
    // the files stay as they are.
    const bool clicked = List1->currentRow() >= 0;
    if (!clicked)
        messages_.show(QStringLiteral("Select at Least 1 item"), QString(), MessageIcon::None);
    if (!clicked && tables.isEmpty())
        return;
    // Every selection cleared by the operator is a choice too: the key file keeps only
    // its section line and the table list is emptied.
    const QString keyFile = QStringLiteral("test_export.txt");
    const QString tableList = QStringLiteral("testSetting.txt");
    QStringList notWritten;
    if (WriteKeyFile(folder_, tables).notWritten)
        notWritten.append(keyFile);
    if (!replaceFileLines(folder_.file(tableList), tables))
        notWritten.append(tableList);
    // A selection that was not saved must not look saved: the window stays open.
    if (!notWritten.isEmpty()) {
        messages_.show(QStringLiteral("File could not be Created : ") +
                           notWritten.join(QStringLiteral(", ")),
                       QString(), MessageIcon::Critical);
        return;
    }
    messages_.show(QStringLiteral("File Created"), QString(), MessageIcon::None);
    hide();
}

} // namespace tav
