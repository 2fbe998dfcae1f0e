// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Seen by the workbook reader alone, like liborcus itself.

#include <orcus/spreadsheet/import_interface.hpp>

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace corvane {

// Collects from a workbook's styles the number format of each cell format, so that a number
// shows the decimals its sheet shows ("49.60" under "0.00"). The rest of the styles (fonts,
// fills, borders) is passed over.
class NumberFormats : public orcus::spreadsheet::iface::import_styles {
    using Channel = orcus::spreadsheet::color_elem_t;

public:
    // The decimals cell format `xf` shows at least; 0 for general and unknown formats.
    int MinDecimals(std::size_t xf) const;

    void set_number_format_identifier(std::size_t id) override { formatId_ = id; }
    void set_number_format_code(std::string_view code) override { code_ = code; }
    std::size_t commit_number_format() override;
    void set_xf_number_format(std::size_t id) override { xfFormat_ = id; }
    std::size_t commit_cell_xf() override;

    void set_number_format_count(std::size_t) override {}
    void set_font_count(std::size_t) override {}
    void set_font_bold(bool) override {}
    void set_font_italic(bool) override {}
    void set_font_name(std::string_view) override {}
    void set_font_size(double) override {}
    void set_font_underline(orcus::spreadsheet::underline_t) override {}
    void set_font_underline_width(orcus::spreadsheet::underline_width_t) override {}
    void set_font_underline_mode(orcus::spreadsheet::underline_mode_t) override {}
    void set_font_underline_type(orcus::spreadsheet::underline_type_t) override {}
    void set_font_underline_color(Channel, Channel, Channel, Channel) override {}
    void set_font_color(Channel, Channel, Channel, Channel) override {}
    void set_strikethrough_style(orcus::spreadsheet::strikethrough_style_t) override {}
    void set_strikethrough_type(orcus::spreadsheet::strikethrough_type_t) override {}
    void set_strikethrough_width(orcus::spreadsheet::strikethrough_width_t) override {}
    void set_strikethrough_text(orcus::spreadsheet::strikethrough_text_t) override {}
    std::size_t commit_font() override { return fonts_++; }
    void set_fill_count(std::size_t) override {}
    void set_fill_pattern_type(orcus::spreadsheet::fill_pattern_t) override {}
    void set_fill_fg_color(Channel, Channel, Channel, Channel) override {}
    void set_fill_bg_color(Channel, Channel, Channel, Channel) override {}
    std::size_t commit_fill() override { return fills_++; }
    void set_border_count(std::size_t) override {}
    void set_border_style(orcus::spreadsheet::border_direction_t,
                          orcus::spreadsheet::border_style_t) override {}
    void set_border_color(orcus::spreadsheet::border_direction_t, Channel, Channel, Channel,
                          Channel) override {}
    void set_border_width(orcus::spreadsheet::border_direction_t, double,
                          orcus::length_unit_t) override {}
    std::size_t commit_border() override { return borders_++; }
    void set_cell_hidden(bool) override {}
    void set_cell_locked(bool) override {}
    void set_cell_print_content(bool) override {}
    void set_cell_formula_hidden(bool) override {}
    std::size_t commit_cell_protection() override { return protections_++; }
    void set_cell_xf_count(std::size_t) override {}
    void set_cell_style_xf_count(std::size_t) override {}
    void set_dxf_count(std::size_t) override {}
    void set_xf_font(std::size_t) override {}
    void set_xf_fill(std::size_t) override {}
    void set_xf_border(std::size_t) override {}
    void set_xf_protection(std::size_t) override {}
    void set_xf_style_xf(std::size_t) override {}
    void set_xf_apply_alignment(bool) override {}
    void set_xf_horizontal_alignment(orcus::spreadsheet::hor_alignment_t) override {}
    void set_xf_vertical_alignment(orcus::spreadsheet::ver_alignment_t) override {}
    std::size_t commit_cell_style_xf() override;
    std::size_t commit_dxf() override;
    void set_cell_style_count(std::size_t) override {}
    void set_cell_style_name(std::string_view) override {}
    void set_cell_style_xf(std::size_t) override {}
    void set_cell_style_builtin(std::size_t) override {}
    void set_cell_style_parent_name(std::string_view) override {}
    std::size_t commit_cell_style() override { return cellStyles_++; }

private:
    std::map<std::size_t, std::string> codes_; // by the id a cell format refers to them
    std::vector<std::size_t> xfFormats_;       // the number format id of each cell format
    std::size_t formatId_ = kNoId;
    std::string code_;
    std::size_t xfFormat_ = 0;
    std::size_t fonts_ = 0, fills_ = 0, borders_ = 0, protections_ = 0, cellStyles_ = 0;
    std::size_t styleXfs_ = 0, dxfs_ = 0;
    static constexpr std::size_t kNoId = static_cast<std::size_t>(-1);
};

} // namespace corvane
