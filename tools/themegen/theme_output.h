// ThemeOutput: what the generator produces, the theme.ini text (sections and keys in the
// order they are added) and its images, and writing both into a folder.
#pragma once

#include <QImage>
#include <QString>
#include <deque>
#include <utility>
#include <vector>

#include "design.h"

// How a picture's see-through pixels reach the theme.
enum class ImageKind {
  // Soft edges: saved with its alpha channel and blended when painted.
  Alpha,
  // Hard edges in the colour key: pixels less than half covered become the key, the
  // rest opaque. The window region cuts keyed pixels out, so window frames use this.
  Keyed,
};

class ThemeOutput {
 public:
  class Section {
   public:
    explicit Section(QString name) : name_(std::move(name)) {}
    Section& Set(const QString& key, const QString& value);
    Section& Set(const QString& key, int value) { return Set(key, QString::number(value)); }
    // "r g b", as the theme reads colours.
    Section& Set(const QString& key, const QColor& color);
    const QString& Name() const { return name_; }
    const std::vector<std::pair<QString, QString>>& Keys() const { return keys_; }

   private:
    QString name_;
    std::vector<std::pair<QString, QString>> keys_;
  };

  // A new section, or the one of that name already added.
  Section& AddSection(const QString& name);
  // Stores the picture under fileName (a plain name such as "button.png") and answers
  // the name for ImageFile keys. Raises DesignError when the name is taken.
  QString AddImage(const QString& fileName, const QImage& image, ImageKind kind);

  // Writes theme.ini and every image into dir (made when missing). Raises DesignError.
  void Write(const QString& dir, const QString& sourceName) const;

 private:
  struct Image {
    QString FileName;
    QImage Pixels;  // ARGB32, or RGB32 for images without see-through pixels
  };
  std::deque<Section> sections_;  // deque: AddSection hands out references
  std::vector<Image> images_;
};

// Margins in the theme's order: left, right, top, bottom.
QString Margins(int left, int right, int top, int bottom);
