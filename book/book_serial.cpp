#include "book/book_serial.h"

#include <vector>

#include "text/number_text.h"

namespace tessarin {

namespace {

class RecordWriter {
  public:
    explicit RecordWriter(std::string& out, char kind) : out_(out) { out_ += kind; }
    ~RecordWriter() { out_ += '\n'; }
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    RecordWriter& text(std::string_view field) {
        out_ += '\t';
        for (const char c : field) {
            if (c == '\\') {
                out_ += "\\\\";
            } else if (c == '\t') {
                out_ += "\\t";
            } else if (c == '\n') {
                out_ += "\\n";
            } else {
                out_ += c;
            }
        }
        return *this;
    }
    RecordWriter& number(double value) { return text(formatShortest(value)); }

  private:
    std::string& out_;
};

struct ShapeSerializer {
    std::string& out;
    void operator()(const PictureLine& s) const {
        RecordWriter(out, 'L')
            .number(s.x1)
            .number(s.y1)
            .number(s.x2)
            .number(s.y2)
            .text(s.stroke)
            .number(s.width)
            .text(s.dashed ? "1" : "0");
    }
    void operator()(const PictureRect& s) const {
        RecordWriter(out, 'Q')
            .number(s.x)
            .number(s.y)
            .number(s.w)
            .number(s.h)
            .text(s.stroke)
            .text(s.fill)
            .number(s.width);
    }
    void operator()(const PictureCircle& s) const {
        RecordWriter(out, 'C')
            .number(s.cx)
            .number(s.cy)
            .number(s.r)
            .text(s.stroke)
            .text(s.fill)
            .number(s.width);
    }
    void operator()(const PicturePolyline& s) const {
        RecordWriter record(out, 'Y');
        record.text(s.closed ? "1" : "0").text(s.stroke).text(s.fill).number(s.width);
        for (const double p : s.points) record.number(p);
    }
    void operator()(const PictureText& s) const {
        const char* anchor = s.anchor == TextAnchor::Start    ? "s"
                             : s.anchor == TextAnchor::Middle ? "m"
                                                              : "e";
        RecordWriter(out, 'X')
            .number(s.x)
            .number(s.y)
            .text(s.text)
            .number(s.size)
            .text(anchor)
            .text(s.colour);
    }
};

struct BlockSerializer {
    std::string& out;
    void operator()(const BookHeading& b) const {
        RecordWriter(out, 'H').text(std::to_string(b.level)).text(b.text);
    }
    void operator()(const BookParagraph& b) const { RecordWriter(out, 'P').text(b.text); }
    void operator()(const BookFormula& b) const {
        RecordWriter(out, 'F').text(b.label).text(b.formula).text(b.substituted).text(b.result);
    }
    void operator()(const BookTable& b) const {
        {
            RecordWriter header(out, 'B');
            for (const std::string& cell : b.header) header.text(cell);
        }
        for (const auto& row : b.rows) {
            RecordWriter record(out, 'R');
            for (const std::string& cell : row) record.text(cell);
        }
    }
    void operator()(const BookPicture& b) const {
        RecordWriter(out, 'G').number(b.width).number(b.height).text(b.caption);
        const ShapeSerializer shapes{out};
        for (const PictureShape& shape : b.shapes) std::visit(shapes, shape);
    }
};

// The fields of one record, unescaped; nullopt for an escape that serializeBook never writes.
std::optional<std::vector<std::string>> splitRecord(std::string_view line) {
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\t') {
            fields.emplace_back();
        } else if (c == '\\') {
            if (++i == line.size()) return std::nullopt;
            const char e = line[i];
            if (e == '\\') {
                fields.back() += '\\';
            } else if (e == 't') {
                fields.back() += '\t';
            } else if (e == 'n') {
                fields.back() += '\n';
            } else {
                return std::nullopt;
            }
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

class RecordReader {
  public:
    explicit RecordReader(const std::vector<std::string>& fields) : fields_(fields) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return next_ == fields_.size(); }
    std::string text() {
        if (next_ >= fields_.size()) {
            ok_ = false;
            return {};
        }
        return fields_[next_++];
    }
    double number() {
        const auto value = parseNumber(text());
        if (!value) ok_ = false;
        return value.value_or(0.0);
    }
    bool flag() {
        const std::string t = text();
        if (t != "0" && t != "1") ok_ = false;
        return t == "1";
    }

  private:
    const std::vector<std::string>& fields_;
    std::size_t next_ = 1;  // field 0 is the record kind
    bool ok_ = true;
};

}  // namespace

std::string serializeBook(const Book& book) {
    std::string out;
    RecordWriter(out, 'T').text(book.title);
    {
        const BookCover& c = book.cover;
        RecordWriter cover(out, 'V');
        cover.text(c.project)
            .text(c.subProject)
            .text(c.column)
            .text(c.method)
            .text(c.program)
            .text(c.date)
            .text(c.designer)
            .text(c.checker)
            .text(c.reviewer);
        for (const std::string& code : c.designBasis) cover.text(code);
    }
    const BlockSerializer blocks{out};
    for (const BookBlock& block : book.blocks) std::visit(blocks, block);
    return out;
}

std::optional<Book> parseBook(std::string_view text) {
    Book book;
    bool titled = false;
    bool covered = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return std::nullopt;  // every record ends its line
        const auto fields = splitRecord(text.substr(0, end));
        text.remove_prefix(end + 1);
        if (!fields || (*fields)[0].size() != 1) return std::nullopt;
        RecordReader r(*fields);
        const char kind = (*fields)[0][0];
        auto* picture =
            book.blocks.empty() ? nullptr : std::get_if<BookPicture>(&book.blocks.back());
        auto* table = book.blocks.empty() ? nullptr : std::get_if<BookTable>(&book.blocks.back());
        switch (kind) {
            case 'T':
                if (titled) return std::nullopt;
                book.title = r.text();
                titled = true;
                break;
            case 'V': {
                if (covered || !book.blocks.empty()) return std::nullopt;
                BookCover& c = book.cover;
                c.project = r.text();
                c.subProject = r.text();
                c.column = r.text();
                c.method = r.text();
                c.program = r.text();
                c.date = r.text();
                c.designer = r.text();
                c.checker = r.text();
                c.reviewer = r.text();
                while (r.ok() && !r.atEnd()) c.designBasis.push_back(r.text());
                covered = true;
                break;
            }
            case 'H': {
                BookHeading h;
                h.level = r.text() == "1" ? 1 : 2;
                h.text = r.text();
                book.blocks.emplace_back(std::move(h));
                break;
            }
            case 'P':
                book.blocks.emplace_back(BookParagraph{r.text()});
                break;
            case 'F': {
                BookFormula f;
                f.label = r.text();
                f.formula = r.text();
                f.substituted = r.text();
                f.result = r.text();
                book.blocks.emplace_back(std::move(f));
                break;
            }
            case 'B': {
                BookTable t;
                while (!r.atEnd()) t.header.push_back(r.text());
                book.blocks.emplace_back(std::move(t));
                break;
            }
            case 'R': {
                if (table == nullptr) return std::nullopt;
                std::vector<std::string> row;
                while (!r.atEnd()) row.push_back(r.text());
                table->rows.push_back(std::move(row));
                break;
            }
            case 'G': {
                BookPicture p;
                p.width = r.number();
                p.height = r.number();
                p.caption = r.text();
                book.blocks.emplace_back(std::move(p));
                break;
            }
            case 'L':
            case 'Q':
            case 'C':
            case 'Y':
            case 'X': {
                if (picture == nullptr) return std::nullopt;
                if (kind == 'L') {
                    PictureLine s;
                    s.x1 = r.number();
                    s.y1 = r.number();
                    s.x2 = r.number();
                    s.y2 = r.number();
                    s.stroke = r.text();
                    s.width = r.number();
                    s.dashed = r.flag();
                    picture->shapes.emplace_back(s);
                } else if (kind == 'Q') {
                    PictureRect s;
                    s.x = r.number();
                    s.y = r.number();
                    s.w = r.number();
                    s.h = r.number();
                    s.stroke = r.text();
                    s.fill = r.text();
                    s.width = r.number();
                    picture->shapes.emplace_back(s);
                } else if (kind == 'C') {
                    PictureCircle s;
                    s.cx = r.number();
                    s.cy = r.number();
                    s.r = r.number();
                    s.stroke = r.text();
                    s.fill = r.text();
                    s.width = r.number();
                    picture->shapes.emplace_back(s);
                } else if (kind == 'Y') {
                    PicturePolyline s;
                    s.closed = r.flag();
                    s.stroke = r.text();
                    s.fill = r.text();
                    s.width = r.number();
                    while (r.ok() && !r.atEnd()) s.points.push_back(r.number());
                    if (s.points.size() % 2 != 0) return std::nullopt;
                    picture->shapes.emplace_back(std::move(s));
                } else {
                    PictureText s;
                    s.x = r.number();
                    s.y = r.number();
                    s.text = r.text();
                    s.size = r.number();
                    const std::string anchor = r.text();
                    if (anchor == "m") {
                        s.anchor = TextAnchor::Middle;
                    } else if (anchor == "e") {
                        s.anchor = TextAnchor::End;
                    } else if (anchor != "s") {
                        return std::nullopt;
                    }
                    s.colour = r.text();
                    picture->shapes.emplace_back(std::move(s));
                }
                break;
            }
            default:
                return std::nullopt;
        }
        if (!r.ok() || !r.atEnd()) return std::nullopt;
    }
    if (!titled) return std::nullopt;
    return book;
}

}  // namespace tessarin
