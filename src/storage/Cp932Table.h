#pragma once

#include <QtGlobal>
#include <array>
#include <vector>

namespace mdb::cp932 {

// The characters of the code page as tables: which single bytes and which byte pairs its
// decoder takes, and the UTF-16 unit each one decodes to. Checking and decoding through them
// gives the decoder's verdict and text without a call into the decoder per run of bytes.
class CharTable {
public:
    // The tables, built at the first call: which pairs are characters is written down here,
    // what each decodes to is asked of the decoder once. Nothing when the decoder does not
    // take the pairs written down as characters; the caller must then use the decoder.
    static const CharTable* instance();
    // The tables when instance() has built them already, else nothing: building them makes the
    // converter map every character, which keeps about a megabyte of its data resident.
    static const CharTable* ifBuilt();

    // Whether the decoder takes the byte alone (a lead byte it never takes alone).
    bool decodesAlone(uchar b) const { return single_[b] != kNone; }
    // Whether the byte begins a pair the decoder may take.
    bool beginsPair(uchar b) const { return row_[b] != 0; }
    // Whether the decoder takes the pair as one character.
    bool decodesAsPair(uchar lead, uchar trail) const {
        return row_[lead] != 0 && pairs_[rowStart(lead) + trail] != kNone;
    }

    // The length of the longest beginning of the bytes made of whole characters the decoder
    // takes, none of them a NUL (which no database file holds): n when all of them pass, n - 1
    // when only a lead byte at the end waits for its second byte.
    qsizetype wholeCharacters(const uchar* p, qsizetype n) const;
    // Decodes n bytes that wholeCharacters passed whole into `out`; returns the number of
    // units kept. `readable` bytes from p on may be read (n or more), and `out` must have room
    // for n + kSlack units: runs of ASCII are widened many bytes at a time, past their end.
    static constexpr qsizetype kSlack = 16;
    qsizetype decode(const uchar* p, qsizetype n, qsizetype readable, char16_t* out) const;
    // Checks and decodes a whole file in one pass: the number of units written to `out`
    // (room for n), or -1 when the bytes are not whole characters the decoder takes or hold a
    // NUL, as wholeCharacters tells. `encodesBack` receives what encodesBackExactly would say
    // of the bytes. Runs of printable ASCII, tabs and line ends go sixteen bytes at a time.
    qsizetype decodeWhole(const uchar* p, qsizetype n, char16_t* out, bool& encodesBack) const;

private:
    static constexpr char16_t kNone = 0xFFFF;  // no character decodes to U+FFFF
    CharTable() = default;
    bool build();
    size_t rowStart(uchar lead) const { return size_t(row_[lead] - 1) * 256; }

    std::array<char16_t, 256> single_{};  // kNone for a byte that is no character alone
    std::array<quint8, 256> row_{};       // for a lead byte, 1 + its row in pairs_; else 0
    std::vector<char16_t> pairs_;         // 256 per lead byte, kNone for no character
};

}  // namespace mdb::cp932
