#include "platform/listview.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

using namespace platform;

namespace {

// Turns every complaint of QAbstractItemModelTester into a test failure, so a
// broken contract names itself instead of aborting the whole binary.
class ModelTesterFailures {
public:
    ModelTesterFailures() { previous_ = qInstallMessageHandler(&ModelTesterFailures::handle); }
    ~ModelTesterFailures() { qInstallMessageHandler(previous_); }
    ModelTesterFailures(const ModelTesterFailures&) = delete;
    ModelTesterFailures& operator=(const ModelTesterFailures&) = delete;

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (type != QtDebugMsg && type != QtInfoMsg && context.category &&
            QLatin1String(context.category) == QLatin1String("qt.modeltest"))
            ADD_FAILURE() << "model tester: " << text.toStdString();
        else if (previous_)
            previous_(type, context, text);
    }
    static inline QtMessageHandler previous_ = nullptr;
};

ListRow makeRow(const QString& name, bool isDir = false, qint64 size = -1)
{
    ListRow r;
    r.cells[0] = name;
    r.cells[2] = QStringLiteral("/d/");
    r.isDir = isDir;
    r.sizeBytes = size;
    r.smallIcon = 1;
    r.largeIcon = 1;
    return r;
}

std::vector<ListRow> makeRows(const QStringList& names)
{
    std::vector<ListRow> rows;
    for (const QString& n : names)
        rows.push_back(makeRow(n));
    return rows;
}

QStringList names(const ListView& list)
{
    QStringList out;
    for (int r = 0; r < list.count(); ++r)
        out << list.text(r);
    return out;
}

QStringList selectedNames(const ListView& list)
{
    QStringList out;
    for (int r = 0; r < list.count(); ++r)
        if (list.isSelected(r))
            out << list.text(r);
    return out;
}

QString currentName(const ListView& list)
{
    const int r = list.currentRow();
    return r < 0 ? QString() : list.text(r);
}

class ListModelTest : public ::testing::Test {
protected:
    ModelTesterFailures failures;
    ListView list;
    ImageList small, large;

    void SetUp() override
    {
        list.addColumn(QStringLiteral("filename"), QStringLiteral("Name"), 3000);
        list.addColumn(QStringLiteral("preview"), QStringLiteral("Preview"), 3000);
        list.addColumn(QStringLiteral("path"), QStringLiteral("Path"), 3000);
        list.addColumn(QStringLiteral("sizeb"), QStringLiteral("Size"), 1500);
        QPixmap red(16, 16), blue(32, 32);
        red.fill(Qt::red);
        blue.fill(Qt::blue);
        small.add(QStringLiteral("s"), red);
        large.size = QSize(32, 32);
        large.add(QStringLiteral("l"), blue);
        list.setSmallIcons(&small);
        list.setLargeIcons(&large);
        list.resize(400, 300);
    }
    QAbstractItemView* view() const { return qobject_cast<QAbstractItemView*>(list.activeView()); }
    void clickRow(int r, Qt::KeyboardModifiers mods = {})
    {
        QAbstractItemView* v = view();
        // A view just switched to lays its items out on the next turn of the loop.
        ASSERT_TRUE(QTest::qWaitFor([&] { return v->visualRect(list.model()->index(r, 0)).isValid(); }));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, mods, v->visualRect(list.model()->index(r, 0)).center());
    }
    int rowOf(const QString& name) const { return int(names(list).indexOf(name)); }
};

} // namespace

// The tester watches every kind of change the program makes, with both views
// attached and shown.
TEST_F(ListModelTest, EveryKindOfChangeKeepsTheModelContract)
{
    QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    ListModel* m = list.model();

    list.setRows(makeRows({"c", "a", "b"}));
    list.addRow(makeRow(QStringLiteral("d")));
    std::vector<ListRow> two = makeRows({"x", "y"});
    m->insertItems(1, std::move(two));
    EXPECT_EQ(names(list), QStringList({"c", "x", "y", "a", "b", "d"}));
    list.removeRow(0);
    m->removeItems(0, 2);
    EXPECT_EQ(names(list), QStringList({"a", "b", "d"}));

    for (int r = 0; r < list.count(); ++r)
        list.setSubItem(r, 1, list.text(r).toUpper());
    list.setIcons(1, 0, 1);
    list.swapRows(0, 2);
    QCoreApplication::processEvents(); // the batch reaches the views on its own
    EXPECT_EQ(names(list), QStringList({"d", "b", "a"}));
    EXPECT_EQ(list.subItem(0, 1), "D");
    EXPECT_TRUE(m->data(m->index(1, 0), Qt::DecorationRole).isNull()) << "the row without a small icon";

    list.setRows(makeRows({"b2", "a10", "c"}));
    list.setSelected(1, true);
    list.sortByColumn(0, Qt::AscendingOrder);
    EXPECT_EQ(names(list), QStringList({"a10", "b2", "c"}));
    list.sortByColumn(0, Qt::DescendingOrder);
    EXPECT_EQ(names(list), QStringList({"c", "b2", "a10"}));
    EXPECT_EQ(selectedNames(list), QStringList({"a10"}));

    list.setView(0); // the large pictures: every decoration changes
    EXPECT_EQ(m->data(m->index(0, 0), Qt::DecorationRole).value<QPixmap>().size(), QSize(32, 32));
    list.setView(3);
    EXPECT_EQ(m->data(m->index(0, 0), Qt::DecorationRole).value<QPixmap>().size(), QSize(16, 16));

    // Out-of-range requests change nothing.
    m->reorder({0, 0, 1});
    m->reorder({0, 1});
    m->removeItems(2, 5);
    list.setText(7, QStringLiteral("nowhere"));
    list.swapRows(0, 9);
    EXPECT_EQ(names(list), QStringList({"c", "b2", "a10"}));

    list.removeColumn(QStringLiteral("sizeb"));
    list.clear();
    EXPECT_EQ(list.count(), 0);
    list.sortByColumn(0, Qt::AscendingOrder); // nothing to sort
}

// An edit typed into the in-place edit box reaches the row through setData;
// a refused edit leaves the row as it was.
TEST_F(ListModelTest, AnInPlaceEditGoesThroughTheModel)
{
    QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    list.setRows(makeRows({"one.txt", "two.txt"}));
    list.setLabelEdit(false);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QLineEdit* editor = nullptr;
    QObject::connect(&list, &ListView::labelEditOpened, [&](int, QLineEdit* e) { editor = e; });
    QSignalSpy changed(list.model(), &QAbstractItemModel::dataChanged);

    const auto edit = [&](int row, const QString& typed) {
        editor = nullptr;
        list.setCurrentRow(row);
        list.startLabelEdit();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the box commits on the next turn
    };
    edit(1, QStringLiteral("three.txt"));
    EXPECT_EQ(names(list), QStringList({"one.txt", "three.txt"}));
    ASSERT_GE(changed.count(), 1);
    EXPECT_EQ(changed.last().at(0).toModelIndex().row(), 1);

    list.model()->afterLabelEdit = [](int, const QString& text) { return !text.startsWith(QLatin1Char('x')); };
    edit(0, QStringLiteral("x.txt"));
    EXPECT_EQ(names(list), QStringList({"one.txt", "three.txt"}));
}

// Cell changes in a loop reach the views as one range, once; a structural
// change tells the pending range first, at the positions it was made at.
TEST_F(ListModelTest, CellChangesAreBatchedIntoOneRange)
{
    QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    list.setRows(makeRows({"a", "b", "c", "d", "e"}));
    ListModel* m = list.model();
    QStringList heard;
    QObject::connect(m, &QAbstractItemModel::dataChanged, [&](const QModelIndex& from, const QModelIndex& to) {
        heard
            << QStringLiteral("changed %1,%2-%3,%4").arg(from.row()).arg(from.column()).arg(to.row()).arg(to.column());
    });
    QObject::connect(m, &QAbstractItemModel::rowsAboutToBeRemoved, [&](const QModelIndex&, int first, int last) {
        heard << QStringLiteral("remove %1-%2").arg(first).arg(last);
    });

    list.setSubItem(3, 1, QStringLiteral("D"));
    list.setSubItem(1, 1, QStringLiteral("B"));
    list.setSubItem(2, 1, QString()); // unchanged: not marked
    EXPECT_TRUE(heard.isEmpty()) << "nothing is told before the flush";
    list.flush();
    list.flush();
    EXPECT_EQ(heard, QStringList({"changed 1,0-3,3"}));

    heard.clear();
    list.setIcons(4, 0, 0);
    list.removeRow(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(heard, QStringList({"changed 4,0-4,3", "remove 0-0"}));
    EXPECT_EQ(names(list), QStringList({"b", "c", "d", "e"}));
}

// The selection and the focused row stay on the rows the user clicked when the
// list is sorted, in the report view and in the icon view.
TEST_F(ListModelTest, SortingKeepsTheClickedRowsSelected)
{
    QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    std::vector<ListRow> rows;
    rows.push_back(makeRow(QStringLiteral("pear"), false, 300));
    rows.push_back(makeRow(QStringLiteral("apple"), false, 100));
    rows.push_back(makeRow(QStringLiteral("sub"), true, -1));
    rows.push_back(makeRow(QStringLiteral("fig"), false, 200));
    rows.push_back(makeRow(QStringLiteral("kiwi"), false, 50));
    for (ListRow& r : rows)
        r.cells[3] = QString::number(r.sizeBytes);
    list.setRows(std::move(rows));
    list.setFullRowSelect(true);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));

    clickRow(rowOf(QStringLiteral("apple")));
    clickRow(rowOf(QStringLiteral("fig")), Qt::ControlModifier);
    list.sortByColumn(0, Qt::AscendingOrder);
    EXPECT_EQ(names(list), QStringList({"sub", "apple", "fig", "kiwi", "pear"}));
    EXPECT_EQ(selectedNames(list), QStringList({"apple", "fig"}));
    EXPECT_EQ(currentName(list), "fig");
    // Size sorts by bytes, directories last when descending.
    list.sortByColumn(3, Qt::DescendingOrder, false);
    EXPECT_EQ(names(list), QStringList({"pear", "fig", "apple", "kiwi", "sub"}));
    EXPECT_EQ(selectedNames(list), QStringList({"fig", "apple"}));
    // What the user sees: the report view paints those rows selected.
    auto* report = list.reportView();
    EXPECT_TRUE(report->selectionModel()->isSelected(report->model()->index(rowOf(QStringLiteral("fig")), 2)));

    list.setView(0);
    ASSERT_EQ(list.activeView(), list.iconView());
    clickRow(rowOf(QStringLiteral("kiwi")));
    clickRow(rowOf(QStringLiteral("sub")), Qt::ControlModifier);
    list.sortByColumn(0, Qt::DescendingOrder, false);
    EXPECT_EQ(names(list), QStringList({"pear", "kiwi", "fig", "apple", "sub"}));
    EXPECT_EQ(selectedNames(list), QStringList({"kiwi", "sub"}));
    EXPECT_EQ(currentName(list), "sub");
    // A click after the sort lands on the row drawn under the mouse.
    clickRow(rowOf(QStringLiteral("fig")));
    EXPECT_EQ(selectedNames(list), QStringList({"fig"}));
}

// A column the user leaves alone gives back the twips it was given at every
// scale, where its pixels converted back would be cut to the scale's
// multiples; a column the user drags wider gives the twips of its new width.
TEST(ListViewColumns, AColumnGivesBackItsTwipsUntilTheUserDragsIt)
{
    const std::pair<const char*, int> columns[] = {{"filename", 3030}, {"preview", 3020}, {"path", 3030},
                                                   {"size", 1000},     {"date", 1800},    {"attrib", 720},
                                                   {"ext", 600}};
    for (const double scale : {1.0, 1.25, 1.5, 1.75, 2.0}) {
        SCOPED_TRACE(::testing::Message() << "scale " << scale);
        const ScaleScope font(scale);
        ASSERT_TRUE(font.found());
        const int tpp = font.twipsPerPixel();
        ListView list;
        for (const auto& [key, width] : columns)
            list.addColumn(QLatin1String(key), QLatin1String(key), width);
        list.resize(300, 200); // narrower than the columns: the last one is not stretched
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
        for (int c = 0; c < int(std::size(columns)); ++c)
            EXPECT_EQ(list.columnWidth(c), columns[c].second) << columns[c].first;

        // The user drags the right edge of the first column's header 25 pixels to the right.
        QHeaderView* header = list.reportView()->header();
        const int before = header->sectionSize(0);
        const QPoint from(header->sectionViewportPosition(0) + before - 1, header->height() / 2);
        const QPoint to = from + QPoint(25, 0);
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(header->viewport(), to);
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, to);
        ASSERT_EQ(header->sectionSize(0), before + 25);
        EXPECT_EQ(list.columnWidth(0), (before + 25) * tpp);
        EXPECT_EQ(list.columnWidth(1), columns[1].second);
    }
}
