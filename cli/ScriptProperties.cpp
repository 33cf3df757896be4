// The control's published properties by name, for the "set" command of edit scripts.
#include <functional>
#include <map>

#include "cli/EditScript.h"
#include "editor/VeskEdit.h"

namespace kelvane {

namespace {

enum class TKind { Bool, Int, Colour };

struct TProperty {
  TKind Kind;
  std::function<void(TVeskEdit&, int64_t)> Set;
};

template <typename F>
TProperty Field(TKind kind, F member) {
  return {kind, [member](TVeskEdit& e, int64_t v) { e.*member = static_cast<std::remove_reference_t<decltype(e.*member)>>(v); }};
}

const std::map<std::string, TProperty, std::less<>>& Properties() {
  using E = TVeskEdit;
  static const std::map<std::string, TProperty, std::less<>> kProperties = {
      {"AutoWrap", {TKind::Bool, [](E& e, int64_t v) { e.SetAutoWrap(v != 0); }}},
      {"LeftMargin", Field(TKind::Int, &E::LeftMargin)},
      {"RightMargin", Field(TKind::Int, &E::RightMargin)},
      {"ShowSpaceSgl", Field(TKind::Bool, &E::ShowSpaceSgl)},
      {"ShowSpaceDbl", Field(TKind::Bool, &E::ShowSpaceDbl)},
      {"ShowSpaceErr", Field(TKind::Bool, &E::ShowSpaceErr)},
      {"ShowCR", Field(TKind::Bool, &E::ShowCR)},
      {"ShowEOF", Field(TKind::Bool, &E::ShowEOF)},
      {"ShowLineNo", {TKind::Bool, [](E& e, int64_t v) { e.SetShowLineNo(v != 0); }}},
      {"ShowGrid", {TKind::Bool, [](E& e, int64_t v) { e.SetShowGrid(v != 0); }}},
      {"ShowRuler", {TKind::Bool, [](E& e, int64_t v) { e.SetShowRuler(v != 0); }}},
      {"ShowTab", {TKind::Bool, [](E& e, int64_t v) { e.SetShowTab(v != 0); }}},
      {"Color", Field(TKind::Colour, &E::Color)},
      {"ColorText", Field(TKind::Colour, &E::ColorText)},
      {"ColorUniBack", Field(TKind::Colour, &E::ColorUniBack)},
      {"ColorUniText", Field(TKind::Colour, &E::ColorUniText)},
      {"ColorCrEof", Field(TKind::Colour, &E::ColorCrEof)},
      {"ColorGrid", Field(TKind::Colour, &E::ColorGrid)},
      {"ColorLineNo", Field(TKind::Colour, &E::ColorLineNo)},
      {"ColorRuler", Field(TKind::Colour, &E::ColorRuler)},
      {"ColorSelBack", Field(TKind::Colour, &E::ColorSelBack)},
      {"ColorSelText", Field(TKind::Colour, &E::ColorSelText)},
      {"ColorSelCr", Field(TKind::Colour, &E::ColorSelCr)},
      {"ColorSpaceSgl", Field(TKind::Colour, &E::ColorSpaceSgl)},
      {"ColorSpaceDbl", Field(TKind::Colour, &E::ColorSpaceDbl)},
      {"ColorSpaceErr", Field(TKind::Colour, &E::ColorSpaceErr)},
      {"ColorSelSpace", Field(TKind::Colour, &E::ColorSelSpace)},
      {"ColorMargin", Field(TKind::Colour, &E::ColorMargin)},
      {"ExternalLeading", Field(TKind::Int, &E::ExternalLeading)},
      {"VerticalCaretMargin", Field(TKind::Int, &E::VerticalCaretMargin)},
      {"VScrollLines", Field(TKind::Int, &E::VScrollLines)},
      {"HScrollMax", {TKind::Int, [](E& e, int64_t v) { e.SetHScrollMax(static_cast<int32_t>(v)); }}},
      {"WheelPageScroll", Field(TKind::Bool, &E::WheelPageScroll)},
      {"WheelScrollCount", Field(TKind::Int, &E::WheelScrollCount)},
      {"GridCol", Field(TKind::Int, &E::GridCol)},
      {"GridRow", Field(TKind::Int, &E::GridRow)},
      {"ConfCaretVisible", {TKind::Bool, [](E& e, int64_t v) { e.SetConfCaretVisible(v != 0); }}},
      {"TextDrag", Field(TKind::Bool, &E::TextDrag)},
  };
  return kProperties;
}

std::optional<int64_t> ParseValue(TKind kind, const std::string& v) {
  if (kind == TKind::Bool) {
    if (v == "true") return 1;
    if (v == "false") return 0;
    return std::nullopt;
  }
  const bool hex = v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X');
  if (kind == TKind::Colour && !hex) return std::nullopt;
  try {
    size_t used = 0;
    const int64_t n = std::stoll(v, &used, hex ? 16 : 10);
    if (used != v.size()) return std::nullopt;
    if (kind == TKind::Colour ? (n < 0 || n > UINT32_MAX) : (n < INT32_MIN || n > INT32_MAX)) return std::nullopt;
    return n;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

bool SetPropertyByName(TVeskEdit* editor, const std::string& name, const std::string& value) {
  const auto it = Properties().find(name);
  if (it == Properties().end()) return false;
  const std::optional<int64_t> v = ParseValue(it->second.Kind, value);
  if (!v) return false;
  if (editor) it->second.Set(*editor, *v);
  return true;
}

}  // namespace kelvane
