// SPDX-License-Identifier: GPL-3.0-or-later
// The one place that sees liborcus: its parsers call the small collectors below, and its
// exceptions end here as messages.
#include "workbook_reader.h"

#include "file_kind.h"
#include "ods_repeated_rows.h"
#include "workbook_number_formats.h"

#include <orcus/orcus_ods.hpp>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/import_interface.hpp>
#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <variant>

namespace corvane {

namespace {

namespace iface = orcus::spreadsheet::iface;
using orcus::spreadsheet::col_t;
using orcus::spreadsheet::row_t;
using orcus::spreadsheet::string_id_t;

// Bounds that a results sheet is far within; a damaged or hostile file meets them before
// it takes the machine's memory.
constexpr std::size_t kMaxCells = 4'000'000;
constexpr std::uint64_t kMaxUnpackedBytes = 512ull << 20;
constexpr row_t kMaxRows = 1 << 20;
constexpr col_t kMaxColumns = 1 << 14;

// A number cell's text in the general format, before its number format is known.
struct Number {
    std::string text;
};

// A cell's text, a number, or the index of a shared string: the shared strings and the
// number formats may come after the sheets.
using Cell = std::variant<std::string, string_id_t, Number>;

// A number as a sheet's general format shows it: 15 significant digits at most, no
// trailing zeros (3.4 for 3.3999999999999999).
std::string NumberText(double value) {
    char text[32];
    const auto [end, failed] =
        std::to_chars(std::begin(text), std::end(text), value, std::chars_format::general, 15);
    return failed == std::errc() ? std::string(text, end) : std::string();
}

std::string DateText(int year, int month, int day, int hour, int minute, double second) {
    char text[48];
    if (hour == 0 && minute == 0 && second == 0)
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    else
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02.0f", year, month, day, hour,
                      minute, second);
    return text;
}

// The cells of one sheet, row by row, within the bounds above.
class SheetCells {
public:
    void Set(row_t row, col_t col, Cell cell) {
        if (row < 0 || row >= kMaxRows || col < 0 || col >= kMaxColumns)
            return;
        if (cells_ >= kMaxCells) {
            tooLarge_ = true;
            return;
        }
        std::vector<Cell>& cells = rows_[row];
        if (cells.size() <= static_cast<std::size_t>(col))
            cells.resize(static_cast<std::size_t>(col) + 1);
        cells[static_cast<std::size_t>(col)] = std::move(cell);
        ++cells_;
    }

    void SetFormat(row_t row, col_t col, std::size_t xf) {
        if (cells_ < kMaxCells)
            formats_[{row, col}] = xf;
    }
    std::size_t FormatOf(row_t row, col_t col) const {
        const auto format = formats_.find({row, col});
        return format == formats_.end() ? 0 : format->second;
    }

    const Cell* Get(row_t row, col_t col) const {
        const auto found = rows_.find(row);
        if (found == rows_.end() || found->second.size() <= static_cast<std::size_t>(col))
            return nullptr;
        return &found->second[static_cast<std::size_t>(col)];
    }

    // Copies row `row` into the `count` - 1 rows after it that hold nothing.
    void RepeatRow(row_t row, int count) {
        const auto source = rows_.find(row);
        if (source == rows_.end())
            return;
        const std::vector<Cell> cells = source->second;
        for (row_t next = row + 1; next < row + count && next < kMaxRows; ++next) {
            if (rows_.contains(next))
                continue;
            if (cells_ + cells.size() > kMaxCells) {
                tooLarge_ = true;
                return;
            }
            rows_[next] = cells;
            cells_ += cells.size();
            for (std::size_t col = 0; col < cells.size(); ++col)
                if (const std::size_t xf = FormatOf(row, static_cast<col_t>(col)))
                    formats_[{next, static_cast<col_t>(col)}] = xf;
        }
    }

    bool TooLarge() const { return tooLarge_; }
    const std::map<row_t, std::vector<Cell>>& Rows() const { return rows_; }

private:
    std::map<row_t, std::vector<Cell>> rows_;
    std::map<std::pair<row_t, col_t>, std::size_t> formats_;
    std::size_t cells_ = 0;
    bool tooLarge_ = false;
};

// The workbook's shared strings; rich text is kept as its plain text.
class SharedStrings : public iface::import_shared_strings {
public:
    std::size_t append(std::string_view s) override {
        strings_.emplace_back(s);
        return strings_.size() - 1;
    }
    std::size_t add(std::string_view s) override {
        const auto known = index_.find(std::string(s));
        if (known != index_.end())
            return known->second;
        index_.emplace(std::string(s), strings_.size());
        return append(s);
    }
    void set_segment_font(std::size_t) override {}
    void set_segment_bold(bool) override {}
    void set_segment_italic(bool) override {}
    void set_segment_font_name(std::string_view) override {}
    void set_segment_font_size(double) override {}
    void set_segment_font_color(orcus::spreadsheet::color_elem_t, orcus::spreadsheet::color_elem_t,
                                orcus::spreadsheet::color_elem_t,
                                orcus::spreadsheet::color_elem_t) override {}
    void append_segment(std::string_view s) override { segments_ += s; }
    std::size_t commit_segments() override {
        const std::size_t id = append(segments_);
        segments_.clear();
        return id;
    }

    std::string_view At(string_id_t id) const {
        return id < strings_.size() ? std::string_view(strings_[id]) : std::string_view();
    }

private:
    std::vector<std::string> strings_;
    std::map<std::string, std::size_t> index_;
    std::string segments_;
};

// A formula cell: its stored result is what the sheet shows.
class FormulaResult : public iface::import_formula {
public:
    explicit FormulaResult(SheetCells* cells) : cells_(cells) {}

    void set_position(row_t row, col_t col) override {
        row_ = row;
        col_ = col;
        result_ = std::string();
    }
    void set_formula(orcus::spreadsheet::formula_grammar_t, std::string_view) override {}
    void set_shared_formula_index(std::size_t) override {}
    void set_result_string(std::string_view value) override { result_ = std::string(value); }
    void set_result_value(double value) override { result_ = Number{NumberText(value)}; }
    void set_result_bool(bool value) override { result_ = std::string(value ? "TRUE" : "FALSE"); }
    void set_result_empty() override { result_ = std::string(); }
    void commit() override {
        if (cells_)
            cells_->Set(row_, col_, result_);
    }

private:
    SheetCells* cells_;
    row_t row_ = 0;
    col_t col_ = 0;
    Cell result_;
};

// One sheet as the parser fills it; a sheet not chosen keeps nothing.
class CollectingSheet : public iface::import_sheet {
public:
    explicit CollectingSheet(SheetCells* cells) : cells_(cells), formula_(cells) {}

    iface::import_formula* get_formula() override { return &formula_; }
    void set_auto(row_t row, col_t col, std::string_view s) override {
        Set(row, col, std::string(s));
    }
    void set_string(row_t row, col_t col, string_id_t id) override { Set(row, col, id); }
    void set_value(row_t row, col_t col, double value) override {
        Set(row, col, Number{NumberText(value)});
    }
    void set_bool(row_t row, col_t col, bool value) override {
        Set(row, col, std::string(value ? "TRUE" : "FALSE"));
    }
    void set_date_time(row_t row, col_t col, int year, int month, int day, int hour, int minute,
                       double second) override {
        Set(row, col, DateText(year, month, day, hour, minute, second));
    }
    void set_format(row_t row, col_t col, std::size_t xf) override {
        if (cells_)
            cells_->SetFormat(row, col, xf);
    }
    void set_format(row_t, col_t, row_t, col_t, std::size_t) override {}
    void fill_down_cells(row_t row, col_t col, row_t count) override;
    orcus::spreadsheet::range_size_t get_sheet_size() const override {
        return {kMaxRows, kMaxColumns};
    }

private:
    void Set(row_t row, col_t col, Cell cell) {
        if (cells_)
            cells_->Set(row, col, std::move(cell));
    }

    SheetCells* cells_;
    FormulaResult formula_;
};

void CollectingSheet::fill_down_cells(row_t row, col_t col, row_t count) {
    if (!cells_)
        return;
    const Cell* source = cells_->Get(row, col);
    if (!source)
        return;
    const Cell copy = *source;
    for (row_t below = 1; below <= count && row + below < kMaxRows && !cells_->TooLarge(); ++below)
        cells_->Set(row + below, col, copy);
}

// Cell addresses as the parser meets them in a sheet ("B7", "$B$7", "Sheet1!B7"); the sheet
// part is not needed to place a cell.
class AddressResolver : public iface::import_reference_resolver {
public:
    orcus::spreadsheet::src_address_t resolve_address(std::string_view address) override {
        address = address.substr(address.find_last_of("!.") == std::string_view::npos
                                     ? 0
                                     : address.find_last_of("!.") + 1);
        std::int64_t col = 0, row = 0;
        std::size_t letters = 0, digits = 0;
        for (const char c : address) {
            const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
            if (upper >= 'A' && upper <= 'Z' && digits == 0 && letters++ < 3)
                col = col * 26 + (upper - 'A' + 1);
            else if (c >= '0' && c <= '9' && letters > 0 && digits++ < 7)
                row = row * 10 + (c - '0');
            else if (c != '$' && c != ']' && c != '[')
                throw std::invalid_argument("a cell address that is not one");
        }
        if (letters == 0 || digits == 0 || row == 0)
            throw std::invalid_argument("a cell address that is not one");
        return {0, static_cast<row_t>(row - 1), static_cast<col_t>(col - 1)};
    }
    orcus::spreadsheet::src_range_t resolve_range(std::string_view range) override {
        const std::size_t colon = range.find(':');
        const auto first = resolve_address(range.substr(0, colon));
        return {first,
                colon == std::string_view::npos ? first : resolve_address(range.substr(colon + 1))};
    }
};

// Hands the parser a sheet per sheet of the workbook and keeps the cells of the one wanted:
// the first, or the one named.
class SheetFactory : public iface::import_factory {
public:
    explicit SheetFactory(const std::string& wanted) : wanted_(wanted) {}

    iface::import_shared_strings* get_shared_strings() override { return &strings_; }
    iface::import_styles* get_styles() override { return &formats_; }
    iface::import_reference_resolver*
    get_reference_resolver(orcus::spreadsheet::formula_ref_context_t) override {
        return &resolver_;
    }
    iface::import_sheet* append_sheet(orcus::spreadsheet::sheet_t, std::string_view name) override {
        const bool chosen = !found_ && (wanted_.empty() || name == wanted_);
        if (chosen) {
            chosenName_ = name;
            chosenIndex_ = names_.size();
        }
        found_ |= chosen;
        names_.emplace_back(name);
        sheets_.push_back(std::make_unique<CollectingSheet>(chosen ? &cells_ : nullptr));
        return sheets_.back().get();
    }
    iface::import_sheet* get_sheet(std::string_view name) override {
        const auto at = std::find(names_.begin(), names_.end(), name);
        return at == names_.end() ? nullptr : sheets_[at - names_.begin()].get();
    }
    iface::import_sheet* get_sheet(orcus::spreadsheet::sheet_t index) override {
        return index >= 0 && static_cast<std::size_t>(index) < sheets_.size()
                   ? sheets_[static_cast<std::size_t>(index)].get()
                   : nullptr;
    }
    void finalize() override {}

    bool Found() const { return found_; }
    const std::string& ChosenName() const { return chosenName_; }
    std::size_t ChosenIndex() const { return chosenIndex_; }
    SheetCells& Cells() { return cells_; }
    const std::vector<std::string>& Names() const { return names_; }
    const SheetCells& Cells() const { return cells_; }
    const SharedStrings& Strings() const { return strings_; }
    const NumberFormats& Formats() const { return formats_; }

private:
    std::string wanted_;
    bool found_ = false;
    std::string chosenName_;
    std::size_t chosenIndex_ = 0;
    std::vector<std::string> names_;
    std::vector<std::unique_ptr<CollectingSheet>> sheets_;
    SheetCells cells_;
    SharedStrings strings_;
    NumberFormats formats_;
    AddressResolver resolver_;
};

// An exception's text as a message may show it: printable ASCII, not too long.
std::string Printable(std::string_view text) {
    std::string printable;
    for (const char c : text.substr(0, 160))
        printable += (c >= ' ' && c < 0x7F) ? c : '?';
    return printable;
}

// Identical ODS rows that follow each other are written once with a count, and the parser
// gives them once: the chosen sheet gets the copies back.
void RestoreRepeatedRows(std::string_view bytes, SheetFactory& factory) {
    orcus::zip_archive_stream_blob stream(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                          bytes.size());
    orcus::zip_archive archive(&stream);
    archive.load();
    std::vector<unsigned char> content;
    if (!archive.read_file_entry("content.xml", content))
        return;
    const std::string_view xml(reinterpret_cast<const char*>(content.data()), content.size());
    for (const RepeatedRow& repeated : RepeatedOdsRows(xml, kMaxRows)) {
        if (repeated.table == factory.ChosenIndex())
            factory.Cells().RepeatRow(repeated.row, repeated.count);
    }
}

// Whether a sheet of an XLSX workbook keeps text in its cells rather than in the shared
// strings, as some programs write it: liborcus 0.17 passes such cells over without a word.
bool HasInlineStrings(std::string_view bytes) {
    orcus::zip_archive_stream_blob stream(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                          bytes.size());
    orcus::zip_archive archive(&stream);
    archive.load();
    std::vector<unsigned char> part;
    for (std::size_t i = 0; i < archive.get_file_entry_count(); ++i) {
        const std::string_view name = archive.get_file_entry_name(i);
        if (!name.starts_with("xl/worksheets/") || !archive.read_file_entry(name, part))
            continue;
        const std::string_view xml(reinterpret_cast<const char*>(part.data()), part.size());
        if (xml.find("t=\"inlineStr\"") != std::string_view::npos)
            return true;
    }
    return false;
}

std::optional<std::string> Parse(std::string_view bytes, WorkbookFormat format,
                                 SheetFactory& factory) {
    try {
        if (format == WorkbookFormat::Xlsx) {
            if (HasInlineStrings(bytes))
                return "a workbook that keeps its texts in the cells (inline strings), which "
                       "is not read; save it again from a spreadsheet program as .xlsx, .ods or "
                       "CSV";
            orcus::orcus_xlsx(&factory).read_stream(bytes);
        } else {
            orcus::orcus_ods(&factory).read_stream(bytes);
            if (factory.Found())
                RestoreRepeatedRows(bytes, factory);
        }
    } catch (const std::exception& e) {
        return "a damaged workbook, not read (" + Printable(e.what()) + ")";
    } catch (...) {
        return "a damaged workbook, not read";
    }
    return std::nullopt;
}

// Why an archive is not handed to the parser: its directory is damaged, or it unpacks to
// more than a results workbook ever holds.
std::optional<std::string> ArchiveRefusal(std::string_view bytes) {
    const auto entries = ZipDirectory(bytes);
    if (!entries)
        return "a damaged workbook, not read (its ZIP directory is missing or cut)";
    std::uint64_t unpacked = 0;
    for (const ZipEntry& entry : *entries)
        unpacked += entry.size;
    if (unpacked > kMaxUnpackedBytes)
        return "a workbook that unpacks to more than 512 MB, not read";
    return std::nullopt;
}

std::string SheetList(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "'" : ", '") + name + "'";
    return list.empty() ? "none" : list;
}

// A number in the general format given at least `decimals` places ("49.6" to "49.60").
std::string Padded(std::string text, int decimals) {
    if (decimals <= 0 || text.find_first_of("en") != std::string::npos)
        return text; // an exponent, nan or inf
    const std::size_t point = text.find('.');
    const int places = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
    if (point == std::string::npos)
        text += '.';
    return text.append(static_cast<std::size_t>(std::max(0, decimals - places)), '0');
}

std::string CellText(const SheetFactory& factory, const Cell& cell, row_t row, col_t col) {
    if (const auto* text = std::get_if<std::string>(&cell))
        return *text;
    if (const auto* number = std::get_if<Number>(&cell))
        return Padded(number->text,
                      factory.Formats().MinDecimals(factory.Cells().FormatOf(row, col)));
    return std::string(factory.Strings().At(std::get<string_id_t>(cell)));
}

// The sheet's rows as a table: cells resolved to text, blank rows left out.
CsvTable TableOf(const SheetFactory& factory) {
    CsvTable table;
    bool haveHeader = false;
    for (const auto& [row, cells] : factory.Cells().Rows()) {
        CsvRow record{row + 1, {}};
        for (std::size_t col = 0; col < cells.size(); ++col)
            record.fields.push_back(CellText(factory, cells[col], row, static_cast<col_t>(col)));
        const bool blank =
            std::all_of(record.fields.begin(), record.fields.end(), [](const std::string& field) {
                return field.find_first_not_of(" \t\r\n") == std::string::npos;
            });
        if (blank)
            continue;
        if (!haveHeader)
            table.header = std::move(record.fields);
        else
            table.rows.push_back(std::move(record));
        haveHeader = true;
    }
    return table;
}

} // namespace

std::optional<std::string> ReadWorkbook(std::string_view bytes, WorkbookFormat format,
                                        const std::string& sheet, CsvTable& table) {
    table = CsvTable{};
    if (auto refusal = ArchiveRefusal(bytes))
        return refusal;
    SheetFactory factory(sheet);
    if (auto failure = Parse(bytes, format, factory))
        return failure;
    if (!factory.Found())
        return sheet.empty()
                   ? "the workbook has no sheet"
                   : "no sheet '" + sheet + "'; the sheets are " + SheetList(factory.Names());
    if (factory.Cells().TooLarge())
        return "the sheet has more than 4,000,000 cells, not read";
    CsvTable read = TableOf(factory);
    if (read.header.empty())
        return "the sheet '" + factory.ChosenName() + "' is empty";
    table = std::move(read);
    table.sheet = factory.ChosenName();
    table.sheets = factory.Names();
    return std::nullopt;
}

} // namespace corvane
