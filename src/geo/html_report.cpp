// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <array>
#include <cstdio>
#include <map>

#include "geo/address.h"
#include "geo/plot.h"
#include "geo/report_export.h"
#include "geo/report_map.h"
#include "geo/zip_table.h"
#include "host/text.h"

namespace vistrel::geo {
namespace {

// The names of the range colours, for readers who cannot tell them apart.
constexpr std::array<std::string_view, kRangeCount> kRangeColourNames = {
    "aqua", "blue", "gray", "fuchsia", "green", "lime", "maroon", "navy", "olive", "purple", "teal", "white"};

constexpr char kStyle[] = R"(
body{font:14px/1.45 system-ui,-apple-system,"Segoe UI",sans-serif;color:#111;max-width:62em;margin:1.5em auto;padding:0 1em}
h1{color:#000080;font-size:1.6em;margin:0 0 .4em}
h2{font-size:1.15em;margin:1.2em 0 .4em}
dl.facts{display:grid;grid-template-columns:max-content 1fr;gap:.1em 1.2em;margin:0 0 1.2em}
dt{font-weight:600}dd{margin:0}
figure{margin:0}
svg{display:block;width:100%;height:auto;border:1px solid #777}
.shape{stroke:#000;stroke-width:.3;stroke-linejoin:round;fill-rule:evenodd}
.shape:hover,.shape.on{stroke-width:1.1}
.dot{stroke:#000;stroke-width:.15}
.dot:hover,.dot.on{stroke-width:.8}
.inset{fill:none;stroke:#555;stroke-width:.4}
#pointer{font-weight:600;min-height:1.45em;margin:.4em 0}
ul.legend{list-style:none;padding:0;margin:.3em 0;display:flex;flex-wrap:wrap;gap:.2em 1.4em}
.swatch{display:inline-block;width:.9em;height:.9em;border:1px solid #000;vertical-align:-.12em;margin-right:.4em}
table{border-collapse:collapse;margin:.4em 0}
caption{text-align:left;font-weight:600;padding:.2em 0}
th,td{padding:.15em .7em;border-bottom:1px solid #ccc;text-align:left}
thead th{border-bottom:2px solid #555}
td.n{text-align:right;font-variant-numeric:tabular-nums}
tr.on{background:#ffffb0}
.note{color:#444}
footer{margin-top:2em;color:#555;font-size:.9em}
@media print{*{print-color-adjust:exact;-webkit-print-color-adjust:exact}#pointer{display:none}
body{max-width:none;margin:0}svg{border:0;break-inside:avoid}tr{break-inside:avoid}}
)";

// Names the state, dot or country under the pointer, as the window's label
// does, and marks it in the map and in the table together.
constexpr char kScript[] = R"(
(function () {
  var label = document.getElementById('pointer');
  var idle = label.textContent;
  function mark(ids, on) {
    (ids || '').split(' ').forEach(function (id) {
      var e = id && document.getElementById(id);
      if (e) e.classList.toggle('on', on);
    });
  }
  function hover(event, on) {
    var e = event.target.closest && event.target.closest('[data-rows],[data-place]');
    if (!e) return;
    var place = e.hasAttribute('data-rows') ? e : document.getElementById(e.getAttribute('data-place'));
    e.classList.toggle('on', on);
    mark(e.getAttribute('data-rows') || e.getAttribute('data-place'), on);
    var title = place && place.querySelector('title');
    label.textContent = on && title ? title.textContent : idle;
  }
  document.addEventListener('mouseover', function (e) { hover(e, true); });
  document.addEventListener('mouseout', function (e) { hover(e, false); });
})();
)";

// Text for HTML: markup characters escaped, bytes that are no UTF-8 (a
// store may hold any) and control characters replaced by U+FFFD.
std::string html(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = host::utf8CharAt(text, i);
    const char c = text[i];
    if (n == 0 || (n == 1 && static_cast<unsigned char>(c) < 0x20) || c == 0x7F) {
      out += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out.append(text, i, n);
    }
    i += n;
  }
  return out;
}

std::string hex(Rgb c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r, c.g, c.b);
  return buf;
}

std::string swatch(Rgb c) { return "<span class=\"swatch\" style=\"background:" + hex(c) + "\"></span>"; }

// What a colour of the map means, as the legend words it.
struct ColourMeaning {
  Rgb colour;
  std::string text;  // "Range 3 (gray)", "1 Contact (red)"
};

ColourMeaning meaning(std::int64_t count, std::int64_t total, const RangeTable& ranges) {
  if (count == 1) return {kOneContactColor, "1 Contact (red)"};
  const int percent = sharePercent(count, total);
  int range = 0;  // a share in no range takes the colour of range 1
  for (int i = 0; i < kRangeCount; ++i) {
    if (ranges.range(i).contains(percent)) range = i;
  }
  return {kRangeColors[range],
          "Range " + std::to_string(range + 1) + " (" + std::string(kRangeColourNames[range]) + ")"};
}

// One value of the report as the page shows it.
struct Row {
  std::string id;  // "row-3"
  std::string value;
  ValuePlace place;
  std::int64_t count = 0;
  std::string placeId;  // the shape or dot it points at; empty when not drawn
  std::int64_t placeCount = 0;  // the count of its shape, with the other rows on it
};

// The page under construction: the report, its rows, and the text so far.
class Page {
 public:
  Page(const AnalysisReport& report, const ReportContext& context)
      : report_(report), context_(context), info_(report.analysis()) {
    const std::vector<ValuePlace> places = placeValues(report);
    for (std::size_t i = 0; i < places.size(); ++i) {
      rows_.push_back(Row{"row-" + std::to_string(i + 1), report.values()[i], places[i],
                          report.counted() ? report.counts()[i] : 0, {}});
    }
    // Without a count, or with nothing counted, the map shows no shares.
    coloured_ = report.counted() && report.total() > 0;
  }

  std::string build() {
    head();
    facts();
    out_ += "<main>\n";
    map();
    table();
    others();
    out_ += "</main>\n<footer>Made with Vistrel";
    if (!context_.date.empty()) out_ += " on " + html(context_.date);
    out_ += ". Map data: US Census Bureau (us-atlas), Natural Earth (world-atlas).</footer>\n<script>" +
            std::string(kScript) + "</script>\n</body>\n</html>\n";
    return std::move(out_);
  }

 private:
  bool worldMap() const { return info_.map == MapKind::kWorld; }
  bool stateMap() const { return info_.map == MapKind::kStates; }
  bool rowsShaped() const { return stateMap() || worldMap(); }
  std::string share(std::int64_t count) const {
    return shareNumber(count, report_.total(), context_.locale) + "%";
  }
  std::string countText(std::int64_t count) const {
    return std::to_string(count) + (count == 1 ? " contact, " : " contacts, ") + share(count);
  }

  void head() {
    out_ += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
            html(info_.title) + ": " + html(report_.database()) + "</title>\n<style>" + kStyle +
            "</style>\n</head>\n<body>\n";
  }

  void facts() {
    out_ += "<header>\n<h1>" + html(info_.title) + "</h1>\n<dl class=\"facts\">\n";
    fact("Database", report_.database());
    std::string filter = "None: all contacts";
    if (!context_.filter.empty()) {
      filter = context_.filter + (context_.reversed ? " (reversed: the contacts it rejects)" : "");
    }
    fact("Filter", filter);
    if (!context_.date.empty()) fact("Date", context_.date);
    fact("Contacts walked", std::to_string(report_.walked()));
    fact("Counted", report_.totalText());
    fact("Values", std::to_string(report_.values().size()) + " Unique Values");
    out_ += "</dl>\n</header>\n";
  }

  void fact(std::string_view term, std::string_view text) {
    out_ += "<dt>" + html(term) + "</dt><dd>" + html(text) + "</dd>\n";
  }

  void map() {
    const ReportMap& frame = worldMap() ? ReportMap::world() : ReportMap::us();
    const std::string w = drawingNumber(frame.width());
    const std::string h = drawingNumber(frame.height());
    out_ += "<figure>\n<svg id=\"map\" viewBox=\"0 0 " + w + " " + h + "\" width=\"" +
            drawingNumber(frame.width() * 2) + "\" height=\"" + drawingNumber(frame.height() * 2) +
            "\" role=\"group\" aria-labelledby=\"map-title\">\n<title id=\"map-title\">" + html(mapTitle()) +
            "</title>\n<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"" + hex(kSilver) + "\"/>\n";
    if (!worldMap()) {
      out_ += "<g aria-hidden=\"true\">";
      for (const MapInset& inset : frame.insets()) {
        out_ += "<rect class=\"inset\" x=\"" + drawingNumber(inset.left) + "\" y=\"" + drawingNumber(inset.top) +
                "\" width=\"" + drawingNumber(inset.width) + "\" height=\"" + drawingNumber(inset.height) + "\"/>";
      }
      out_ += "</g>\n";
    }
    shapes(frame);
    if (info_.map == MapKind::kZipDots) zipDots(frame);
    if (info_.map == MapKind::kContactDots) contactDots(frame);
    out_ += "</svg>\n<p id=\"pointer\" aria-live=\"polite\">" + html(pointerHint()) + "</p>\n";
    legend();
    out_ += "</figure>\n";
  }

  std::string mapTitle() const {
    switch (info_.map) {
      case MapKind::kStates: return "Map of the United States, each state coloured by its share of the counted contacts";
      case MapKind::kZipDots: return "Map of the United States with a dot per zip code, coloured by its share";
      case MapKind::kContactDots: return "Map of the United States with a dot at the zip code of every contact";
      case MapKind::kWorld: return "Map of the world, each country coloured by its share of the counted contacts";
    }
    return std::string();
  }

  std::string pointerHint() const {
    if (stateMap()) return "Point at a state to see its name, count and share.";
    if (worldMap()) return "Point at a country to see its name, count and share.";
    return "Point at a dot to see its zip code.";
  }

  // Every shape of the map, in the colour of the rows that fall on it (their
  // counts added: a country written several ways is one country).
  void shapes(const ReportMap& frame) {
    const ShapeSet& set = worldMap() ? ShapeSet::countries() : ShapeSet::states();
    std::map<const Shape*, std::vector<Row*>> rowsOf;
    if (rowsShaped()) {
      for (Row& r : rows_) {
        if (r.place.shape != nullptr) rowsOf[r.place.shape].push_back(&r);
      }
    }
    out_ += "<g>\n";
    int n = 0;
    for (const Shape& shape : set.shapes()) {
      const std::string id = "shape-" + std::to_string(++n);
      const auto it = rowsOf.find(&shape);
      std::int64_t count = 0;
      std::string rowIds;
      std::string keys;
      if (it != rowsOf.end()) {
        for (Row* r : it->second) {
          count += r->count;
          r->placeId = id;
          rowIds += (rowIds.empty() ? "" : " ") + r->id;
          keys += (keys.empty() ? "" : ", ") + r->value;
        }
        for (Row* r : it->second) r->placeCount = count;
      }
      Rgb fill = kNoContactColor;
      if (coloured_ && it != rowsOf.end()) fill = meaning(count, report_.total(), context_.ranges).colour;
      std::string title = stateMap() ? std::string(StateDisplayName(shape.key)) : shape.name;
      if (worldMap() && !keys.empty()) title += " (" + keys + ")";
      if (coloured_) title += ": " + (it == rowsOf.end() ? std::string("0 contacts") : countText(count));
      out_ += "<path id=\"" + id + "\" class=\"shape\" data-rows=\"" + rowIds + "\" data-key=\"" + html(shape.key) +
              "\" fill=\"" + hex(fill) + "\" d=\"" + frame.pathData(shape) + "\"><title>" + html(title) +
              "</title></path>\n";
    }
    out_ += "</g>\n";
  }

  void dot(const ReportMap& frame, const GeoPosition& p, std::string_view state, Rgb colour, const std::string& id,
           const std::string& rowIds, const std::string& title) {
    // The main map shows only places west of Greenwich and north of the
    // equator, as the window does.
    if (!frame.drawsApart(state) && (p.longitude > 0 || p.latitude < 0)) return;
    const MapXY xy = frame.project(p, state);
    if (xy.x < 0 || xy.y < 0 || xy.x > frame.width() || xy.y > frame.height()) return;
    out_ += "<circle id=\"" + id + "\" class=\"dot\" data-rows=\"" + rowIds + "\" cx=\"" + drawingNumber(xy.x) +
            "\" cy=\"" + drawingNumber(xy.y) + "\" r=\"1.2\" fill=\"" + hex(colour) + "\"><title>" + html(title) +
            "</title></circle>\n";
  }

  // A dot per listed zip code after a count, coloured by its share.
  void zipDots(const ReportMap& frame) {
    if (!coloured_) return;
    out_ += "<g>\n";
    int n = 0;
    for (Row& r : rows_) {
      if (!r.place.point) continue;
      const std::string id = "dot-" + std::to_string(++n);
      const std::size_t before = out_.size();
      dot(frame, *r.place.point, r.place.state, meaning(r.count, report_.total(), context_.ranges).colour, id, r.id,
          r.value + " " + r.place.name + ": " + countText(r.count));
      if (out_.size() != before) r.placeId = id;
    }
    out_ += "</g>\n";
  }

  // A red dot at the zip code of every contact, as the window's City plot.
  void contactDots(const ReportMap& frame) {
    out_ += "<g>\n";
    int n = 0;
    for (const std::string& zip : context_.contactZips) {
      const ZipRecord* r = ZipTable::builtIn().find(zip);
      if (r == nullptr) continue;
      dot(frame, GeoPosition{r->latitude, r->longitude}, r->state, kOneContactColor, "dot-" + std::to_string(++n),
          std::string(), zip + " " + r->city + ", " + r->state);
    }
    out_ += "</g>\n";
  }

  void legend() {
    out_ += "<figcaption>\n<h2>Legend</h2>\n<ul class=\"legend\">\n";
    if (info_.map == MapKind::kContactDots) {
      out_ += "<li>" + swatch(kOneContactColor) + "Contacts Found (red)</li>\n</ul>\n</figcaption>\n";
      return;
    }
    out_ += "<li>" + swatch(kNoContactColor) + "0 Contacts (yellow)</li>\n";
    out_ += "<li>" + swatch(kOneContactColor) + "1 Contact (red)</li>\n";
    for (int i = 0; i < kRangeCount; ++i) {
      out_ += "<li>" + swatch(kRangeColors[i]) + "Range " + std::to_string(i + 1) + ": " +
              html(context_.ranges.label(i)) + " (" + std::string(kRangeColourNames[i]) + ")</li>\n";
    }
    out_ += "</ul>\n";
    if (!coloured_) {
      out_ += "<p class=\"note\">" +
              std::string(report_.counted() ? "No contact was counted" : "The values were not counted") +
              ", so the map shows no shares.</p>\n";
    }
    out_ += "</figcaption>\n";
  }

  void table() {
    const bool counted = report_.counted();
    const bool named = info_.map != MapKind::kContactDots;
    const bool mapped = info_.map != MapKind::kContactDots && (coloured_ || rowsShaped());
    out_ += "<section>\n<h2>Values</h2>\n<table id=\"values\">\n<caption>" +
            html(std::to_string(rows_.size()) + " Unique Values" + (counted ? ", " + report_.totalText() : "")) +
            "</caption>\n<thead><tr><th scope=\"col\">" + html(info_.heading) + "</th>";
    if (named) out_ += worldMap() ? "<th scope=\"col\">Country on the map</th>" : "<th scope=\"col\">Place</th>";
    if (counted) out_ += "<th scope=\"col\">#</th><th scope=\"col\">Share</th>";
    if (mapped) out_ += "<th scope=\"col\">Map</th>";
    out_ += "</tr></thead>\n<tbody>\n";
    for (const Row& r : rows_) {
      out_ += "<tr id=\"" + r.id + "\"";
      if (!r.placeId.empty()) out_ += " data-place=\"" + r.placeId + "\"";
      out_ += "><th scope=\"row\">" + html(r.value) + "</th>";
      if (named) out_ += "<td>" + html(r.place.name) + "</td>";
      if (counted) out_ += "<td class=\"n\">" + std::to_string(r.count) + "</td><td class=\"n\">" + share(r.count) + "</td>";
      if (mapped) out_ += "<td>" + mapCell(r) + "</td>";
      out_ += "</tr>\n";
    }
    out_ += "</tbody>\n</table>\n</section>\n";
  }

  std::string mapCell(const Row& r) const {
    if (r.placeId.empty()) return "not on the map";
    if (!coloured_) return "on the map";
    // A country written several ways is coloured by all its rows together.
    const ColourMeaning m = meaning(rowsShaped() ? r.placeCount : r.count, report_.total(), context_.ranges);
    return swatch(m.colour) + html(m.text);
  }

  void others() {
    if (!info_.others) return;
    out_ += "<section>\n<h2>Others (" + std::to_string(report_.others().size()) +
            ")</h2>\n<p class=\"note\">Zip values that are no US zip code.</p>\n<ul>\n";
    for (const std::string& o : report_.others()) out_ += "<li>" + html(o) + "</li>\n";
    out_ += "</ul>\n</section>\n";
  }

  const AnalysisReport& report_;
  const ReportContext& context_;
  const AnalysisInfo& info_;
  std::vector<Row> rows_;
  bool coloured_ = false;
  std::string out_;
};

}  // namespace

std::string htmlReport(const AnalysisReport& report, const ReportContext& context) {
  return Page(report, context).build();
}

}  // namespace vistrel::geo
