#pragma once

#include "encoding/text.h"

namespace appdu {

enum class MessageBoxButtons { Ok, OkCancel };
enum class MessageBoxAnswer { Ok, Cancel };

// A modal message box with no owner window, bound by each front end. An empty
// title shows as kDefaultMessageTitle.
class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual MessageBoxAnswer Show(const Text& text, const Text& title, MessageBoxButtons buttons) = 0;
};

// "信息：" in code page 936.
extern const char kDefaultMessageTitle[];

}  // namespace appdu
