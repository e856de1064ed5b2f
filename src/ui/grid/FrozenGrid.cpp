#include "ui/grid/FrozenGrid.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableView>

#include "ui/grid/GridModel.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

constexpr int kFrozenColumns = 2;

void setUpView(QTableView* view, GridModel* model) {
    view->setModel(model);
    view->setSortingEnabled(false);  // the header's click sorts through the model, below
    view->horizontalHeader()->setSectionsClickable(true);
    view->horizontalHeader()->setSortIndicatorShown(true);
    // the rows start in file order: no column carries a sort mark until one is clicked
    view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                          QAbstractItemView::DoubleClicked);
    view->setTabKeyNavigation(false);  // Tab leaves the grid for the window's next control
}

}  // namespace

FrozenGrid::FrozenGrid(GridModel* model, QWidget* parent)
    : QWidget(parent), model_(model), frozen_(new QTableView(this)), main_(new QTableView(this)) {
    frozen_->setObjectName(u"gridFrozen"_s);
    main_->setObjectName(u"gridCells"_s);
    setUpView(frozen_, model);
    setUpView(main_, model);
    frozen_->setSelectionModel(main_->selectionModel());
    for (int c = 0; c < model->columnCount(); ++c) {
        frozen_->setColumnHidden(c, c >= kFrozenColumns);
        main_->setColumnHidden(c, c < kFrozenColumns);
    }
    frozen_->verticalHeader()->hide();
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setFocusPolicy(Qt::NoFocus);  // the keys work in the right-hand view
    main_->verticalHeader()->hide();
    connect(main_->verticalScrollBar(), &QScrollBar::valueChanged, frozen_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(frozen_->verticalScrollBar(), &QScrollBar::valueChanged, main_->verticalScrollBar(),
            &QScrollBar::setValue);

    for (QTableView* view : {frozen_, main_}) {
        QHeaderView* header = view->horizontalHeader();
        connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
            // a first click sorts up, a second click on the same column down
            const bool down = model_->sortColumn() == column && !model_->sortDescending();
            model_->sort(column, down ? Qt::DescendingOrder : Qt::AscendingOrder);
            for (QTableView* v : {frozen_, main_}) {
                v->horizontalHeader()->setSortIndicator(
                    column, down ? Qt::DescendingOrder : Qt::AscendingOrder);
            }
        });
        connect(view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
            if (!(model_->flags(index) & Qt::ItemIsEditable))
                emit rowActivated(index.row(), index.column());
        });
    }
    main_->installEventFilter(this);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(frozen_);
    layout->addWidget(main_, 1);
    fitFrozenWidth();
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        // a reset forgets the current cell; the keys need one to move from
        if (model_->rowCount() > 0 && !main_->currentIndex().isValid()) {
            main_->setCurrentIndex(
                model_->index(0, kFrozenColumns < model_->columnCount() ? kFrozenColumns : 0));
        }
    });
}

void FrozenGrid::fitFrozenWidth() {
    frozen_->resizeColumnsToContents();
    int width = frozen_->frameWidth() * 2;
    for (int c = 0; c < kFrozenColumns && c < model_->columnCount(); ++c) {
        frozen_->setColumnWidth(
            c, std::min(frozen_->columnWidth(c), 16 * fontMetrics().averageCharWidth() + 24));
        width += frozen_->columnWidth(c);
    }
    frozen_->setFixedWidth(width);
}

bool FrozenGrid::eventFilter(QObject* watched, QEvent* event) {
    // an open cell editor takes its own keys (Enter commits it), so these reach the view only
    // between edits
    if (watched == main_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QModelIndex current = main_->currentIndex();
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && current.isValid()) {
            emit rowActivated(current.row(), current.column());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace mdb
