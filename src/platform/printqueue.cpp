#include "platform/printqueue.h"

#include <cups/cups.h>

#include <algorithm>

namespace {

// A queue name without the instance part "/instance".
QByteArray queueName(const QString& name) {
    return name.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
}

} // namespace

TPrintQueue ReadPrintQueue(const QString& name) {
    TPrintQueue queue;
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queueName(name).constData(), nullptr);
    if (!dest)
        return queue;
    queue.Known = true;
    const char* accepting =
        cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    queue.Accepting = accepting && QByteArray(accepting) == "true";
    const char* state = cupsGetOption("printer-state", dest->num_options, dest->options);
    queue.Stopped = state && QByteArray(state) == QByteArray::number(IPP_PSTATE_STOPPED);
    cupsFreeDests(1, dest);
    return queue;
}

int LastPrintJob(const QString& name) {
    cups_job_t* jobs = nullptr;
    const int count =
        cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queueName(name).constData(), 0, CUPS_WHICHJOBS_ALL);
    if (count < 0)
        return -1;
    int last = 0;
    for (int i = 0; i < count; ++i)
        last = std::max(last, jobs[i].id);
    cupsFreeJobs(count, jobs);
    return last;
}
