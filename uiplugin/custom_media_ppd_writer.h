#pragma once
// The PPD's CMS blocks: each holds a template between SYN tags that is written out once per
// custom medium, with the medium's name and size in place of its placeholders.
#include <string>
#include <string_view>
#include <vector>
#include "uiplugin/custom_medium.h"

namespace moltr::uiplugin {

inline constexpr char kPpdCmsBegin[] = "*%__ CMS BEGIN - DO NOT REMOVE THIS TAG";
inline constexpr char kPpdCmsEnd[] = "*%__ CMS END - DO NOT REMOVE THIS TAG";
inline constexpr char kPpdSynBegin[] = "*%__ SYN BEGIN - DO NOT REMOVE THIS TAG";
inline constexpr char kPpdSynEnd[] = "*%__ SYN END - DO NOT REMOVE THIS TAG";

// `template_` written for `medium`: "*%__" dropped, "#NAME", "#DNAME", "#WIDTH", "#HEIGHT", "#LLX",
// "#LLY", "#URX" and "#URY" replaced.
std::string ExpandPpdTemplate(std::string_view template_, const CustomMedium& medium);

// `ppd` with every CMS block rewritten for `media`. False, and nothing written, unless a begin tag
// comes before an end tag.
bool WritePpdCustomMedia(std::string_view ppd, const std::vector<CustomMedium>& media,
                         std::string* result);

} // namespace moltr::uiplugin
