# Every vendor endpoint is compiled in. Two profiles:
#   production  fictional vendor hosts under the reserved domain tarvel.example,
#               a gateway fallback address from a documentation range, port 80,
#               the public DNS resolver on port 53. Compiled, never run here.
#   local       every endpoint on a loopback address with a port above 1024, for
#               the tests and the demo against the local vendor cloud.
set(TARVEL_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)

if(TARVEL_ENDPOINTS STREQUAL production)
  set(EP_HTTP_PORT 80)
  set(EP_GATEWAY_HOST api.tarvel.example)
  set(EP_GATEWAY_FALLBACK_IP 192.0.2.80)
  set(EP_CDN_HOST cdn.tarvel.example)
  set(EP_SUPPORT_HOST support.tarvel.example)
  set(EP_ANALYTICS_HOST sa.tarvel.example)
  set(EP_ATTRIBUTION_HOST attribution.tarvel.example)
  set(EP_WEB_HOST www.tarvel.example)
  set(EP_DNS_SERVER 114.114.114.114)
  set(EP_DNS_PORT 53)
elseif(TARVEL_ENDPOINTS STREQUAL local)
  # One loopback address per role, so the local cloud can take a single role
  # down (the gateway by name while its fallback address still answers).
  set(EP_HTTP_PORT 18080)
  set(EP_GATEWAY_HOST 127.0.0.1)
  set(EP_GATEWAY_FALLBACK_IP 127.0.0.2)
  set(EP_CDN_HOST 127.0.0.3)
  set(EP_SUPPORT_HOST 127.0.0.4)
  set(EP_ANALYTICS_HOST 127.0.0.5)
  set(EP_ATTRIBUTION_HOST 127.0.0.6)
  set(EP_WEB_HOST 127.0.0.7)
  set(EP_DNS_SERVER 127.0.0.8)
  set(EP_DNS_PORT 18053)
else()
  message(FATAL_ERROR "TARVEL_ENDPOINTS must be local or production, not '${TARVEL_ENDPOINTS}'")
endif()

configure_file(${CMAKE_SOURCE_DIR}/cmake/EndpointConfig.h.in ${TARVEL_GENERATED_DIR}/EndpointConfig.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/cmake/endpoints.env.in ${CMAKE_BINARY_DIR}/endpoints.env @ONLY)
