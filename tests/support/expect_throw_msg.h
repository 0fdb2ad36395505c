// EXPECT_THROW_MSG: the statement raises the given error class with exactly
// the given message.
#pragma once

#include <gtest/gtest.h>

#include <string>

#define EXPECT_THROW_MSG(statement, error_class, message)                        \
    do {                                                                          \
        try {                                                                     \
            statement;                                                            \
            ADD_FAILURE() << "expected " #error_class " \"" << (message) << "\""; \
        } catch (const error_class& error) {                                      \
            EXPECT_EQ(std::string(message), std::string(error.what()));           \
        }                                                                         \
    } while (false)
