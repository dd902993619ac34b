#include "notes/pad_fill.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <memory>
#include <utility>

#include "notes/pad_state.h"
#include "notes/notes_pad.h"
#include "platform/controls.h"
#include "platform/errors.h"
#include "platform/windows.h"

namespace agelark {

namespace {

constexpr qsizetype partChars = 64 * 1024;      // put in at a time
constexpr qint64 turnMs = 20;                   // filling per turn of the event loop
constexpr int waitMs = 5;                       // before looking again for text still to come
constexpr qsizetype groupAbove = 1000 * 1000;   // texts longer than this share blocks
constexpr qsizetype blockChars = 4096;          // a shared block's size
constexpr qsizetype longestLine = 10 * 1000;    // longer lines are shown in pieces
const QString fillName = QStringLiteral("agelarkPadFill");

class PadFill : public QObject {
public:
    PadFill(FormWindow* form1, QPlainTextEdit* pad, qsizetype expectedLength, TextStream stream,
            std::function<void()> finished)
        : QObject(pad), form1_(form1), pad_(pad), stream_(std::move(stream)), finished_(std::move(finished)),
          grouped_(expectedLength > groupAbove) {
        setObjectName(fillName);
        pad->clear();
        pad->document()->setUndoRedoEnabled(false);  // the load is no step to undo
        // The user's caret stays at the start while text arrives behind it.
        QTextCursor caret(pad->document());
        caret.setKeepPositionOnInsert(true);
        pad->setTextCursor(caret);
        end_ = QTextCursor(pad->document());
    }

    void turn() {
        QElapsedTimer spent;
        spent.start();
        bool ended = false, waiting = false;
        // In one edit block the document lays out nothing per insert: the
        // layout hears of the turn's text once, at its end.
        end_.beginEditBlock();
        do {
            if (at_ == pending_.size()) {
                std::optional<QString> next = stream_.take();
                if (!next) {
                    ended = stream_.ended();
                    waiting = !ended;
                    break;
                }
                pending_ = std::move(*next);
                at_ = 0;
                continue;
            }
            const qsizetype count = qMin(partChars, pending_.size() - at_);
            put(QStringView(pending_).sliced(at_, count), false);
            at_ += count;
        } while (spent.elapsed() < turnMs);
        if (ended) put({}, true);
        end_.endEditBlock();
        if (!ended) {
            showLoading();
            QTimer::singleShot(waiting ? waitMs : 0, this, [this] { runHandler(form1_, [this] { turn(); }); });
            return;
        }
        finish();
    }

private:
    // Puts the next part in; `last` when the text ends with it.
    void put(QStringView part, bool last) {
        QString text = std::exchange(carry_, QString());
        text.append(part);
        QString out;
        out.reserve(text.size() + text.size() / 16);
        qsizetype start = 0;
        bool heldReturn = false;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c != u'\n' && c != u'\r') continue;
            // A CR at the end may be the first half of a CR LF: decided with the next part.
            if (c == u'\r' && i + 1 == text.size() && !last) {
                heldReturn = true;
                break;
            }
            putLine(out, QStringView(text).sliced(start, i - start), true);
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            start = i + 1;
        }
        const qsizetype end = heldReturn ? text.size() - 1 : text.size();
        putLine(out, QStringView(text).sliced(start, end - start), last);
        if (heldReturn) carry_ += u'\r';
        if (!out.isEmpty()) end_.insertText(out);
    }

    // Puts in what follows of the current line; `ends` when the line ends after it.
    void putLine(QString& out, QStringView line, bool ends) {
        if (!continued_ && line.size() <= longestLine) {
            if (!ends) {
                carry_ = line.toString();
                return;
            }
            lineBreak(out, line.size());
            out += line;
            return;
        }
        while (line.size() > longestLine || (ends && !line.isEmpty())) {
            qsizetype n = qMin(line.size(), longestLine);
            if (n < line.size() && line[n - 1].isHighSurrogate()) --n;  // a character's two halves stay together
            putPiece(out, line.first(n));
            line = line.sliced(n);
        }
        if (ends)
            continued_ = false;
        else
            carry_ = line.toString();
    }

    // The break before a line of `length` characters: none before the first
    // line, a new block, or in a long text a U+2028 within a shared block.
    void lineBreak(QString& out, qsizetype length) {
        if (first_) {
            first_ = false;
            blockUsed_ = length;
            return;
        }
        if (grouped_ && blockUsed_ + 1 + length <= blockChars) {
            out += QChar(QChar::LineSeparator);
            blockUsed_ += 1 + length;
            return;
        }
        out += u'\n';
        blockUsed_ = length;
    }

    // A piece of a line too long to lay out, as a block of its own.
    void putPiece(QString& out, QStringView piece) {
        tooLong_ = true;
        if (continued_)
            out += u'\n';
        else
            lineBreak(out, blockChars + 1);  // never shares a block
        continued_ = true;
        out += piece;
        blockUsed_ = blockChars;  // nor does the line after it
    }

    void showLoading() {
        if (loadingShown_) return;
        loadingShown_ = true;
        control<QLabel>(form1_, "lblClock")->hide();
        control<QLabel>(form1_, "lblWorking")->setText(QStringLiteral("Loading notes..."));
    }

    void finish() {
        pad_->document()->setUndoRedoEnabled(true);
        pad_->setTextCursor(QTextCursor(pad_->document()));
        pad_->setReadOnly(tooLong_);
        if (loadingShown_) {
            control<QLabel>(form1_, "lblWorking")->clear();
            control<QLabel>(form1_, "lblClock")->show();
        }
        PadState& state = padState(form1_);
        state.phase = tooLong_ ? PadPhase::ReadOnly : PadPhase::Editing;
        deleteLater();
        if (finished_) finished_();
        if (tooLong_)
            throw UserError(QStringLiteral(
                "Some lines of the notes in %1 are longer than %2 characters, too long for the pad to edit. "
                "The pad shows them broken into pieces and is read-only, so that saving cannot change them. "
                "Edit the file with another program.")
                                .arg(state.record.path, QLocale().toString(longestLine)));
    }

    FormWindow* form1_;
    QPlainTextEdit* pad_;
    const TextStream stream_;
    const std::function<void()> finished_;
    const bool grouped_;
    QTextCursor end_;
    QString pending_;          // the part being put in
    qsizetype at_ = 0;         // how much of it is in
    QString carry_;            // the unfinished line, held for the next part
    bool first_ = true;        // no line is in yet
    bool continued_ = false;   // pieces of the current line are in already
    qsizetype blockUsed_ = 0;  // characters in the current block
    bool tooLong_ = false;
    bool loadingShown_ = false;
};

}  // namespace

TextStream wholeText(const QString& text) {
    auto from = std::make_shared<qsizetype>(0);
    return {[text, from]() -> std::optional<QString> {
                if (*from == text.size()) return std::nullopt;
                const qsizetype count = qMin(partChars, text.size() - *from);
                *from += count;
                return text.mid(*from - count, count);
            },
            [text, from] { return *from == text.size(); }};
}

bool stopFillingPad(FormWindow* form1) {
    auto pad = notesPad(form1);
    const auto fills = pad->findChildren<QObject*>(fillName, Qt::FindDirectChildrenOnly);
    if (fills.isEmpty()) return false;
    for (QObject* fill : fills) delete fill;
    pad->clear();
    pad->document()->setUndoRedoEnabled(true);
    control<QLabel>(form1, "lblWorking")->clear();
    control<QLabel>(form1, "lblClock")->show();
    return true;
}

void fillPad(FormWindow* form1, qsizetype expectedLength, TextStream stream, std::function<void()> finished) {
    auto pad = notesPad(form1);
    for (QObject* earlier : pad->findChildren<QObject*>(fillName, Qt::FindDirectChildrenOnly)) delete earlier;
    padState(form1).phase = PadPhase::Loading;
    pad->setReadOnly(true);
    (new PadFill(form1, pad, expectedLength, std::move(stream), std::move(finished)))->turn();
}

}  // namespace agelark
