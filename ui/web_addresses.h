// SPDX-License-Identifier: MIT
// The web pages the dialogs link to. The maker's pages all live under one address.
#pragma once

#define VELMAR_MAKER_SITE "https://www.norvane.example/"

// The maker's home page (About box, the maker's name).
inline constexpr char kMakerHomePage[] = VELMAR_MAKER_SITE;
// The maker's page on this tool (About box).
inline constexpr char kProductPage[] = VELMAR_MAKER_SITE "velmar2tmx/";
// The maker's TMX product page ("TMX Certification" in the main dialog).
inline constexpr char kTmxProductPage[] = VELMAR_MAKER_SITE "tmx-certification/";
// The public page of the TMX 1.4b standard (About box).
inline constexpr char kTmxStandardPage[] = "https://www.gala-global.org/tmx-14b";
// The maker's name, shown as the link to its home page.
inline constexpr char kMakerName[] = "Norvane";
