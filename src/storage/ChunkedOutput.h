#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>
#include <functional>

namespace mdb {

// The bytes of a file on their way out, handed on in pieces of about one chunk, so that a save
// holds a piece of the file at a time instead of the whole encoded file. Bytes appended in large
// views (a file's kept bytes) are handed on straight from the view, without a copy.
class ChunkedOutput {
public:
    // Small enough that a piece costs little beside the tables even for a small database, large
    // enough that the writes of the largest file are a few hundred.
    static constexpr qsizetype kChunk = 64 * 1024;

    // Takes one piece; false stops the output (errno says why, when the piece went to a file).
    using Sink = std::function<bool(QByteArrayView piece)>;
    explicit ChunkedOutput(Sink sink, qsizetype chunk = kChunk);

    void append(QByteArrayView bytes);
    void append(char c) { append(QByteArrayView(&c, 1)); }
    // Where an encoder may append bytes itself; settle() hands on what has filled up since.
    QByteArray& buffer() { return buffer_; }
    void settle();
    // Hands on what is left; false when a piece could not be handed on, now or before.
    bool finish();

    // A piece was refused: nothing is handed on after it. `error` is the errno seen then.
    bool failed() const { return failed_; }
    int error() const { return error_; }
    // Bytes appended so far (handed on or waiting), and the last of them (0 when none).
    qint64 size() const { return handedOn_ + buffer_.size(); }
    char last() const { return buffer_.isEmpty() ? last_ : buffer_.back(); }
    bool endsWithLineEnd() const { return last() == '\n' || last() == '\r'; }

private:
    void handOn(QByteArrayView piece);

    Sink sink_;
    qsizetype chunk_;
    QByteArray buffer_;
    qint64 handedOn_ = 0;
    char last_ = 0;
    bool failed_ = false;
    int error_ = 0;
};

// Appends the bytes of `text` (decoded from bytes for which cp932::encodesBackExactly held) to
// `out` a piece at a time, as cp932::encodeExactly would make them whole; false when a
// character does not come back as it was read.
bool encodeExactlyInPieces(QStringView text, ChunkedOutput& out);

}  // namespace mdb
