// SPDX-License-Identifier: GPL-3.0-or-later
#include "data_folder.h"

#include <algorithm>

namespace corvane {

namespace {

std::string NameKey(const std::string& surname, const std::string& given,
                    const std::string& nation) {
    return surname + '\t' + given + '\t' + nation;
}

} // namespace

std::optional<std::size_t> DataFolder::SourceNamed(const std::string& name) const {
    for (std::size_t i = 0; i < sources_.size(); ++i) {
        if (sources_[i].name == name)
            return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> DataFolder::SourceWithSha(const std::string& sha256) const {
    for (std::size_t i = 0; i < sources_.size(); ++i) {
        if (sources_[i].sha256 == sha256)
            return i;
    }
    return std::nullopt;
}

std::string DataFolder::FreeSourceName(const std::string& name) const {
    std::string free = name;
    for (int n = 2; SourceNamed(free); ++n)
        free = name + " (" + std::to_string(n) + ")";
    return free;
}

std::size_t DataFolder::NewDiver(FolderDiver diver) {
    if (diver.id.empty()) {
        while (byId_.contains(std::to_string(nextId_)))
            ++nextId_;
        diver.id = std::to_string(nextId_++);
    }
    const std::size_t at = divers_.size();
    byId_.emplace(diver.id, at);
    if (!diver.surname.empty())
        byName_.emplace(NameKey(diver.surname, diver.given, diver.nation), at);
    divers_.push_back(std::move(diver));
    return at;
}

std::size_t DataFolder::DiverOf(const SourceDive& dive) {
    if (!dive.sourceId.empty()) {
        if (const auto known = byId_.find(dive.sourceId); known != byId_.end())
            return known->second;
        return NewDiver({dive.sourceId, dive.surname, dive.given, dive.nation});
    }
    if (const auto known = byName_.find(NameKey(dive.surname, dive.given, dive.nation));
        known != byName_.end())
        return known->second;
    return NewDiver({"", dive.surname, dive.given, dive.nation});
}

std::vector<std::size_t> DataFolder::Add(FolderSource source, const SourceReading& reading) {
    const std::size_t index = sources_.size();
    sources_.push_back(std::move(source));
    const std::size_t known = divers_.size();
    dives_.reserve(dives_.size() + reading.dives.size());
    for (const SourceDive& dive : reading.dives) {
        FolderDive kept;
        kept.source = index;
        kept.event = dive.event;
        kept.round = dive.round;
        kept.diverId = divers_[DiverOf(dive)].id;
        kept.diveNumber = dive.diveNumber;
        kept.code = dive.code;
        kept.dd = dive.dd;
        kept.awards = dive.awards;
        kept.penalty = dive.penalty;
        kept.points = dive.points;
        dives_.push_back(std::move(kept));
    }
    std::vector<std::size_t> added(divers_.size() - known);
    for (std::size_t i = 0; i < added.size(); ++i)
        added[i] = known + i;
    return added;
}

void DataFolder::Remove(std::size_t source) {
    std::erase_if(dives_, [&](const FolderDive& dive) { return dive.source == source; });
    for (FolderDive& dive : dives_) {
        if (dive.source > source)
            --dive.source;
    }
    sources_.erase(sources_.begin() + static_cast<std::ptrdiff_t>(source));
    TextMap<bool> named;
    for (const FolderDive& dive : dives_)
        named.emplace(dive.diverId, true);
    std::erase_if(divers_, [&](const FolderDiver& diver) { return !named.contains(diver.id); });
    IndexDivers();
}

void DataFolder::Restore(std::vector<FolderSource> sources, std::vector<FolderDive> dives,
                         std::vector<FolderDiver> divers) {
    sources_ = std::move(sources);
    dives_ = std::move(dives);
    divers_ = std::move(divers);
    IndexDivers();
    // A dive of an id the roster does not name keeps it, as the results before an import did.
    for (const FolderDive& dive : dives_) {
        if (!byId_.contains(dive.diverId))
            NewDiver({dive.diverId, "", "", ""});
    }
}

void DataFolder::IndexDivers() {
    std::vector<FolderDiver> divers = std::move(divers_);
    divers_.clear();
    byId_.clear();
    byName_.clear();
    nextId_ = 10;
    for (FolderDiver& diver : divers) {
        if (!byId_.contains(diver.id))
            NewDiver(std::move(diver));
    }
}

std::array<std::size_t, kEventCount> DataFolder::DivesPerEvent(std::size_t source) const {
    std::array<std::size_t, kEventCount> counts{};
    for (const FolderDive& dive : dives_) {
        if (dive.source == source)
            ++counts[static_cast<std::size_t>(dive.event - 1)];
    }
    return counts;
}

} // namespace corvane
