#include "LocalDateFormats.h"
#include "ResourceLoader.h"

#include <gtest/gtest.h>

using CommonTwain::TwainDateTime;

TEST(LocalDateFormats, JobTimesInTheInterfaceLanguage) {
    ResourceLoader* loader = ResourceLoader::Instance();
    const int saved = loader->GetLanguageIndex();
    const TwainDateTime job{std::string("Mon Mar 14 15:04:05 2005")};

    loader->SetLanguageIndex(0);
    EXPECT_EQ("3:04:05 PM", job.FormatLocalTime(LocalDateFormats()));
    EXPECT_EQ("3/14/2005", job.FormatLocalDate(LocalDateFormats()));

    loader->SetLanguageIndex(4); // German
    EXPECT_EQ("15:04:05", job.FormatLocalTime(LocalDateFormats()));
    EXPECT_EQ("14.3.2005", job.FormatLocalDate(LocalDateFormats()));

    loader->SetLanguageIndex(1); // Japanese: year first
    EXPECT_EQ(0u, job.FormatLocalDate(LocalDateFormats()).find("2005"));

    loader->SetLanguageIndex(saved);
}
