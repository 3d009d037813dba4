// The help pages: one per window that has one (the main menu, every demonstration and the
// information window), in the order of the contents list. A page is the resource
// :/help/<kind>.html; its 試してみよう list is made from the experiment table, so that what the
// page suggests is what the experiment test runs.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include "shell/help_experiments.h"

namespace kv::help {

// Window kinds with a page, in the order of the contents list.
const QStringList& PageKinds();
QUrl PageUrl(const QString& kind, const QString& anchor = {});
// The kind whose page `url` is, or an empty text.
QString KindOfUrl(const QUrl& url);
// The page as shown: the resource with the style and its experiments; empty without a page.
QString PageHtml(const QString& kind);
// The page's <title>: the caption of its window.
QString PageTitle(const QString& kind);
// The title in the contents list: where two windows share a caption, the menu button's
// caption is added.
QString ContentsTitle(const QString& kind);
// The sentence of an experiment, its values put in from the table.
QString ExperimentText(const Experiment& e);

}  // namespace kv::help
