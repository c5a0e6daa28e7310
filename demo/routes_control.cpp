// The control path that tests use and the client never does: the request log, faults and a reset of the state.
#include "demo/service_state.h"

namespace demo {

void addControlRoutes(ServiceState &s)
{
    auto plainJson = [](httplib::Response &res, const Json &body, int status = 200) {
        res.status = status;
        res.set_content(body.dump(2, ' ', false, Json::error_handler_t::replace), "application/json; charset=utf-8");
    };

    on(s, "GET", "/__demo/requests",
       [&s, plainJson](const Incoming &, const httplib::Request &req, httplib::Response &res) {
           plainJson(res, s.control.requests(req.get_param_value("path")));
       });
    on(s, "DELETE", "/__demo/requests",
       [&s, plainJson](const Incoming &, const httplib::Request &, httplib::Response &res) {
           s.control.clearRequests();
           plainJson(res, {{"cleared", "requests"}});
       });

    on(s, "GET", "/__demo/faults", [&s, plainJson](const Incoming &, const httplib::Request &, httplib::Response &res) {
        plainJson(res, s.control.faults());
    });
    on(s, "POST", "/__demo/faults",
       [&s, plainJson](const Incoming &in, const httplib::Request &, httplib::Response &res) {
           std::string error = "the body is not JSON";
           const std::optional<Fault> fault = in.json ? Fault::fromJson(*in.json, &error) : std::nullopt;
           if (!fault)
               return plainJson(res, {{"error", error}}, 400);
           const int id = s.control.addFault(*fault);
           plainJson(res, {{"id", id}});
       });
    on(s, "DELETE", "/__demo/faults",
       [&s, plainJson](const Incoming &, const httplib::Request &, httplib::Response &res) {
           s.control.clearFaults();
           plainJson(res, {{"cleared", "faults"}});
       });

    on(s, "POST", "/__demo/reset", [&s, plainJson](const Incoming &, const httplib::Request &, httplib::Response &res) {
        s.store.reset();
        s.control.clearFaults();
        s.control.clearRequests();
        plainJson(res, {{"reset", true}});
    });
}

} // namespace demo
