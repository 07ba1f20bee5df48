#include "about/about_design_rules.h"

#include <gtest/gtest.h>

#include <string>

TEST(AboutDesign, ElementAtAPoint) {
    const AboutLinkSizes links{98, 13, 95, 13, 100, 13};
    struct Case {
        int x, y;
        AboutElement expected;
    } cases[] = {
        {0, 0, AboutElement::Face},       {352, 310, AboutElement::Face},
        {1, 1, AboutElement::Gradient},   {70, 309, AboutElement::Gradient},
        {71, 100, AboutElement::Face},    {22, 27, AboutElement::Icon},
        {53, 58, AboutElement::Icon},     {160, 239, AboutElement::Terms},
        {257, 251, AboutElement::Terms},  {258, 251, AboutElement::Face},
        {100, 220, AboutElement::Face}, // the disclaimer's text
        {85, 269, AboutElement::Web},     {179, 281, AboutElement::Web},
        {210, 269, AboutElement::Mail},   {309, 281, AboutElement::Mail},
        {323, 2, AboutElement::Question}, {335, 14, AboutElement::Question},
        {338, 2, AboutElement::Close},    {350, 14, AboutElement::Close},
        {306, 1, AboutElement::Tab},      {322, 17, AboutElement::Tab},
        {307, 17, AboutElement::Face}, // below the slant
        {314, 10, AboutElement::Face},    {316, 10, AboutElement::Tab},
        {337, 10, AboutElement::Tab}, // between the two squares
        {351, 18, AboutElement::Face},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AboutElementAt(c.x, c.y, links), c.expected) << c.x << "," << c.y;
    }
}

TEST(AboutDesign, TextsAreTheUtf8OfTheGermanWording) {
    EXPECT_EQ(std::string(about::kDisclaimer),
              "Es wird keine Garantie auf Fehlerfreiheit gewährt. Es wird nicht für durch die "
              "Benutzung des Programms eventuell entstehende Schäden gehaftet. Mehr:");
    EXPECT_EQ(std::string(about::kCloseHint), "Schließen");
    EXPECT_EQ(std::string(about::kVersionAndCredits).substr(0, 12), "Version 2.4\n");
}
