#pragma once
// A run's report that keeps everything it is given, in order, instead of showing it.
#include "execute/runreport.h"

#include <QStringList>
#include <utility>
#include <vector>

class RecordingReport : public RunReport {
public:
    QStringList lines;
    QStringList captions;                            // every caption in turn
    QString files, dirs, warnings;                   // the counters' last texts
    std::vector<std::pair<double, double>> progress; // every (value, max) in turn
    std::vector<RunStage> stages;
    int dismissed = 0;

    void addLine(const QString& line) override { lines.push_back(line); }
    void setCount(RunCount counter, const QString& text) override
    {
        (counter == RunCount::Files ? files : counter == RunCount::Dirs ? dirs : warnings) = text;
    }
    void setCaption(const QString& caption) override { captions.push_back(caption); }
    void setProgress(double value, double max) override { progress.emplace_back(value, max); }
    void setStage(RunStage stage) override { stages.push_back(stage); }
    void dismiss() override { ++dismissed; }

    QString caption() const { return captions.isEmpty() ? QString() : captions.back(); }
};
