#pragma once

#include <gtest/gtest.h>

#include <opencv2/imgcodecs.hpp>

#include <string>

// Checks, through OpenCV, a 100 x 50 BMP file of the bitmap tests' picture: the
// colour (0x20, 0x40, 0x60) with a red 20 x 10 quad in the top left corner.
inline void ExpectTestPictureFile(const std::string& path)
{
    const cv::Mat image = cv::imread(path, cv::IMREAD_COLOR);
    ASSERT_FALSE(image.empty()) << path;
    ASSERT_EQ(image.cols, 100);
    ASSERT_EQ(image.rows, 50);
    const cv::Vec3b red(0, 0, 255);
    const cv::Vec3b ground(0x60, 0x40, 0x20);
    EXPECT_EQ(image.at<cv::Vec3b>(0, 0), red);
    EXPECT_EQ(image.at<cv::Vec3b>(9, 19), red);
    EXPECT_EQ(image.at<cv::Vec3b>(10, 19), ground);
    EXPECT_EQ(image.at<cv::Vec3b>(9, 20), ground);
    EXPECT_EQ(image.at<cv::Vec3b>(49, 99), ground);
}
