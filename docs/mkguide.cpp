// Turns the user guide, written in Markdown, into a PDF file.
//
//     mkguide INPUT.md OUTPUT.pdf
//
// Needs a QGuiApplication, so run it with QT_QPA_PLATFORM=offscreen where there is no display.
// Returns 0 on success, 1 when the guide cannot be read or the PDF cannot be written, 2 on a
// wrong command line.

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <cstdio>

namespace {

const QString kTitle = QStringLiteral("Korvalt User Guide");
const QColor kAccent(0x1f, 0x5f, 0xa8);
const QColor kText(0x26, 0x32, 0x3a);
const QColor kMuted(0x6b, 0x7b, 0x88);
const QColor kRule(0xc9, 0xd3, 0xdb);
const QColor kHeaderFill(0xe6, 0xef, 0xf8);
const QColor kCodeFill(0xef, 0xf2, 0xf5);

// The document is laid out at this resolution and scaled to the PDF writer's when painted, so
// that every pixel measure (margins, indents, padding) keeps its usual screen meaning.
constexpr qreal kLayoutDpi = 96.0;
constexpr qreal kFooterHeight = 30.0; // layout pixels kept free at the foot of each page

int fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "mkguide: %s: %s\n", what, qPrintable(detail));
    return 1;
}

bool isFixedPitch(const QTextCharFormat &format)
{
    return format.fontFixedPitch() || format.font().fixedPitch();
}

// True for a code block (fenced or indented) as the Markdown reader marks it.
bool isCodeBlock(const QTextBlock &block)
{
    const QTextBlockFormat format = block.blockFormat();
    return format.hasProperty(QTextFormat::BlockCodeLanguage) || format.hasProperty(QTextFormat::BlockCodeFence);
}

void styleBlocks(QTextDocument &doc)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QTextCursor cursor(block);
        QTextBlockFormat blockFormat = block.blockFormat();
        const int level = blockFormat.headingLevel();
        if (level > 0) {
            blockFormat.setTopMargin(level == 1 ? 0 : level == 2 ? 18 : 10);
            blockFormat.setBottomMargin(level == 1 ? 4 : level == 2 ? 6 : 4);
            cursor.setBlockFormat(blockFormat);
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            QTextCharFormat heading;
            heading.setForeground(level <= 2 ? kAccent : kText);
            cursor.mergeCharFormat(heading);
            continue;
        }
        if (isCodeBlock(block)) {
            blockFormat.setBackground(kCodeFill);
            blockFormat.setLeftMargin(12);
            blockFormat.setTopMargin(4);
            blockFormat.setBottomMargin(8);
            cursor.setBlockFormat(blockFormat);
            continue;
        }
        // Inline code gets a light tint, links the accent colour.
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            QTextCharFormat extra;
            if (isFixedPitch(fragment.charFormat()))
                extra.setBackground(kCodeFill);
            else if (fragment.charFormat().isAnchor())
                extra.setForeground(kAccent);
            else
                continue;
            QTextCursor run(&doc);
            run.setPosition(fragment.position());
            run.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            run.mergeCharFormat(extra);
        }
    }
}

void styleTables(QTextFrame *frame)
{
    for (QTextFrame *child : frame->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(child)) {
            QTextTableFormat format = table->format();
            format.setBorder(0.75);
            format.setBorderBrush(kRule);
            format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            format.setBorderCollapse(true);
            format.setCellSpacing(0);
            format.setCellPadding(5);
            format.setTopMargin(4);
            format.setBottomMargin(10);
            format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            table->setFormat(format);
            for (int column = 0; column < table->columns(); ++column) {
                QTextTableCell cell = table->cellAt(0, column);
                QTextCharFormat cellFormat = cell.format();
                cellFormat.setBackground(kHeaderFill);
                cell.setFormat(cellFormat);
            }
        }
        styleTables(child);
    }
}

void breakBefore(const QTextBlock &block)
{
    QTextBlockFormat format = block.blockFormat();
    format.setPageBreakPolicy(format.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
    QTextCursor(block).setBlockFormat(format);
}

bool breaksBefore(const QTextBlock &block)
{
    return block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
}

void collectTables(QTextFrame *frame, QList<QTextTable *> &tables)
{
    for (QTextFrame *child : frame->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(child))
            tables.append(table);
        collectTables(child, tables);
    }
}

// One pass of page-flow fixes; true when something moved, so the layout must be looked at again.
// A heading never ends a page, and a short table is not split: it moves to the next page with
// the paragraph that introduces it (one ending in a colon) and that paragraph's heading.
bool keepTogetherOnce(QTextDocument &doc, qreal bodyHeight, qreal lineHeight)
{
    QAbstractTextDocumentLayout *layout = doc.documentLayout();
    layout->documentSize(); // completes the layout
    const auto pageOf = [bodyHeight](qreal y) { return int(y / bodyHeight); };

    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0 || breaksBefore(block))
            continue;
        const QRectF box = layout->blockBoundingRect(block);
        if (box.top() > 0 && pageOf(box.top()) != pageOf(box.bottom() + 3 * lineHeight)) {
            breakBefore(block);
            return true;
        }
    }

    QList<QTextTable *> tables;
    collectTables(doc.rootFrame(), tables);
    for (QTextTable *table : tables) {
        const QRectF box = layout->frameBoundingRect(table);
        if (box.height() > bodyHeight / 2 || pageOf(box.top()) == pageOf(box.bottom() - 1))
            continue;
        QTextBlock first = doc.findBlock(table->firstPosition());
        QTextBlock intro = doc.findBlock(table->firstPosition() - 1);
        if (intro.isValid() && intro != first && !QTextCursor(intro).currentTable()
            && intro.text().trimmed().endsWith(QLatin1Char(':'))) {
            first = intro;
            const QTextBlock heading = intro.previous();
            if (heading.isValid() && heading.blockFormat().headingLevel() > 0)
                first = heading;
            if (breaksBefore(first))
                continue;
            breakBefore(first);
        } else {
            QTextTableFormat format = table->format();
            if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
                continue;
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            table->setFormat(format);
        }
        return true;
    }
    return false;
}

void drawFooter(QPainter &painter, const QFont &base, qreal deviceDpi, qreal width, qreal bodyHeight, int page,
                int pages)
{
    // The painter is scaled from layout pixels to the device: size the font to match.
    QFont font = base;
    font.setPointSizeF(8.0 * kLayoutDpi / deviceDpi);
    painter.setFont(font);
    const qreal top = bodyHeight + 10;
    painter.setPen(QPen(kRule, 0.75));
    painter.drawLine(QPointF(0, top), QPointF(width, top));
    painter.setPen(kMuted);
    const QRectF line(0, top + 4, width, kFooterHeight - 14);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, kTitle);
    painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Page %1 of %2").arg(page).arg(pages));
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: mkguide INPUT.md OUTPUT.pdf\n");
        return 2;
    }
    const QString inputPath = args.at(1);
    const QString outputPath = args.at(2);

    QFile input(inputPath);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail("cannot read", inputPath + QStringLiteral(" (") + input.errorString() + QStringLiteral(")"));
    const QString markdown = QString::fromUtf8(input.readAll());
    if (markdown.trimmed().isEmpty())
        return fail("nothing to print in", inputPath);

    QPdfWriter writer(outputPath);
    writer.setTitle(kTitle);
    writer.setCreator(QStringLiteral("Korvalt mkguide"));
    writer.setResolution(600);
    if (!writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter)))
        return fail("cannot set the page layout for", outputPath);

    // Lay the text out on a stand-in device of known resolution.
    QImage layoutDevice(1, 1, QImage::Format_RGB32);
    layoutDevice.setDotsPerMeterX(qRound(kLayoutDpi / 0.0254));
    layoutDevice.setDotsPerMeterY(qRound(kLayoutDpi / 0.0254));

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&layoutDevice);
    doc.setUseDesignMetrics(true);
    QFont base(QStringLiteral("DejaVu Sans"));
    base.setPointSizeF(10);
    doc.setDefaultFont(base);
    doc.setDocumentMargin(0);
    doc.setIndentWidth(22);
    doc.setMetaInformation(QTextDocument::DocumentTitle, kTitle);
    doc.setMarkdown(markdown);
    if (doc.isEmpty())
        return fail("no text in", inputPath);
    styleBlocks(doc);
    styleTables(doc.rootFrame());

    const QSizeF paintPoints = writer.pageLayout().paintRect(QPageLayout::Point).size();
    const qreal width = paintPoints.width() * kLayoutDpi / 72.0;
    const qreal height = paintPoints.height() * kLayoutDpi / 72.0;
    const qreal bodyHeight = height - kFooterHeight;
    doc.setPageSize(QSizeF(width, bodyHeight));
    const qreal lineHeight = QFontMetricsF(base, &layoutDevice).lineSpacing();
    for (int pass = 0; pass < 50 && keepTogetherOnce(doc, bodyHeight, lineHeight); ++pass) {
    }
    const int pages = doc.pageCount();
    const qreal scale = writer.resolution() / kLayoutDpi;

    QPainter painter;
    if (!painter.begin(&writer))
        return fail("cannot write", outputPath);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !writer.newPage()) {
            painter.end();
            QFile::remove(outputPath); // leave no half-written guide behind
            return fail("cannot start a new page in", outputPath);
        }
        painter.save();
        painter.scale(scale, scale);

        painter.save();
        const QRectF clip(0, page * bodyHeight, width, bodyHeight);
        painter.translate(0, -clip.top());
        painter.setClipRect(clip);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = clip;
        context.palette.setColor(QPalette::Text, kText);
        doc.documentLayout()->draw(&painter, context);
        painter.restore();

        drawFooter(painter, base, writer.resolution(), width, bodyHeight, page + 1, pages);
        painter.restore();
    }
    if (!painter.end()) {
        QFile::remove(outputPath);
        return fail("cannot finish", outputPath);
    }

    if (QFileInfo(outputPath).size() <= 0)
        return fail("empty result", outputPath);
    return 0;
}
