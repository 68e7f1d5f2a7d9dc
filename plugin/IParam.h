// One plug-in parameter: its real value, range, step, the mapping to and from the
// normalised 0..1 value hosts and controls see, and its display texts.
#pragma once

#include <cstddef>
#include <vector>

class IParam {
 public:
  enum class Type : int { None = 0, Bool = 1, Int = 2, Enum = 3, Double = 4 };
  static constexpr int kTextBytes = 32;  // names, labels and value texts, with the terminator

  void InitDouble(const char* name, double defaultValue, double min, double max, double step,
                  const char* label = "");
  void InitInt(const char* name, int defaultValue, int min, int max, const char* label = "");
  void InitEnum(const char* name, int defaultValue, int count);
  void SetDisplayText(int value, const char* text);

  // Sets the real value, clamped to the range. NaN is refused and changes nothing.
  void Set(double value);
  // Sets the value from a normalised one; every type but double snaps to the step.
  void SetNormalized(double normalized);
  double GetNormalized() const;
  // Normalises any real value of this parameter, as GetNormalized does for the current one.
  double GetNormalized(double value) const;

  // Writes the display text of value (normalised when asked) into text, which holds
  // kTextBytes bytes.
  void GetDisplayForHost(double value, bool normalized, char* text) const;
  void GetDisplayForHost(char* text) const { GetDisplayForHost(value_, false, text); }
  // Finds the value of the first value text equal to text.
  bool MapDisplayText(const char* text, double* value) const;

  Type GetType() const { return type_; }
  double Value() const { return value_; }
  double Min() const { return min_; }
  double Max() const { return max_; }
  double Step() const { return step_; }
  double Shape() const { return shape_; }
  int Precision() const { return precision_; }
  const char* Name() const { return name_; }
  const char* Label() const { return label_; }
  int NDisplayTexts() const { return int(displayTexts_.size()); }
  const char* DisplayTextAt(int i, int* value = nullptr) const;
  void SetNegateDisplay(bool negate) { negateDisplay_ = negate; }
  bool NegateDisplay() const { return negateDisplay_; }

 private:
  struct DisplayText {
    int value;
    char text[kTextBytes];
  };
  const char* FindDisplayText(double value) const;

  Type type_ = Type::None;
  double value_ = 0.0;
  double min_ = 0.0;
  double max_ = 1.0;
  double step_ = 1.0;
  double shape_ = 1.0;
  int precision_ = 0;
  char name_[kTextBytes] = {};
  char label_[kTextBytes] = {};
  bool negateDisplay_ = false;
  std::vector<DisplayText> displayTexts_;
};

// Copies text into a buffer of capacity bytes, cutting it and always terminating it.
void CopyText(char* out, const char* text, std::size_t capacity);
