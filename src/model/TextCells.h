#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace mdb {

// Texts held as views into a few large buffers (the decoded text of a whole file) instead of
// one allocation per field: loading a database then costs little more than decoding it.
// A text set later gets a buffer of its own. Views stay valid because a buffer, once kept, is
// never changed; moving a QString keeps its data where it is.
class TextCells {
public:
    // Keeps `buffer` alive for as long as the cells; views into it may then be stored.
    void keep(QString buffer) {
        if (!buffer.isEmpty()) buffers_.push_back(std::move(buffer));
    }
    // Stores a view into a kept buffer (or into static text).
    void push(QStringView view) { cells_.push_back({view.utf16(), view.size()}); }
    // Stores a copy of `text`.
    void pushCopy(const QString& text) {
        keep(text);
        push(text);
    }
    void set(size_t index, const QString& text) {
        keep(text);
        cells_[index] = {QStringView(text).utf16(), text.size()};
    }

    QStringView view(size_t index) const {
        const Cell& c = cells_[index];
        return QStringView(c.data, c.size);
    }
    QString text(size_t index) const { return view(index).toString(); }

    size_t size() const { return cells_.size(); }
    void reserve(size_t n) { cells_.reserve(n); }
    void resize(size_t n) { cells_.resize(n); }
    void clear() {
        cells_.clear();
        buffers_.clear();
    }

private:
    struct Cell {
        const char16_t* data = nullptr;
        qsizetype size = 0;
    };
    std::vector<Cell> cells_;
    std::vector<QString> buffers_;
};

}  // namespace mdb
