// Reading the skin fixtures of tests/theme/skins: each file comes with a sidecar JSON
// written by an independent writer, saying what a correct reader finds in it.
#pragma once

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include "se_source.h"

inline QString SkinFixtureDir(const QString& group) {
  return QStringLiteral(SONOLIFT_SKIN_FIXTURES "/") + group;
}

// The fixture files of a group (sidecars left out), sorted.
inline QStringList SkinFixtures(const QString& group) {
  QStringList out;
  const QDir dir(SkinFixtureDir(group));
  for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
    if (!name.endsWith(QLatin1String(".json"))) out << dir.filePath(name);
  return out;
}

inline QJsonObject Sidecar(const QString& file) {
  QFile f(file + QStringLiteral(".json"));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QJsonDocument::fromJson(f.readAll()).object();
}

// The differences between a loaded source and a sidecar's "expect", one line each.
QStringList CompareSkin(const TSeSkinSource& source, const QJsonObject& expect);
