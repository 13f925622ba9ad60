# cmake -DOBJDUMP=<objdump> "-DDLLS=<path>;<path>..." -P check_exports.cmake
# Each stand-in library must export every name that the utility binds,
# undecorated (no leading underscore, no @n suffix). Runs after each library
# is linked, in both trees, and as a test.
cmake_policy(SET CMP0057 NEW)
set(Belgrin.dll
  WLAN_Set_Config WLAN_Set_WEP_Config WLAN_Get_Info WLAN_Get_WEP_Info WLAN_Get_Site_Survey
  WLAN_Read_ProfileList WLAN_Write_ProfileList WLAN_Read_Setting_From_Registry
  WLAN_Read_Setting_From_ProfileRegistry WLAN_Read_Setting_From_ProfileRegistry_Ex
  WLAN_Read_Setting_From_DriverRegistry WLAN_Write_Setting_To_Registry WLAN_Write_Setting_To_ProfileRegistry
  WLAN_Write_Setting_To_ProfileRegistry_Ex WLAN_Write_Setting_To_DriverRegistry WLAN_Get_Version_Info
  WLAN_Get_Mac_Info WLAN_Get_Link_Speed WLAN_DLL_Initialize WLAN_Open_Adapter WLAN_Close_Adapter)
set(Nicorra.dll
  NIC_OpenDeviceMgr NIC_CloseDeviceMgr NIC_GetActiveNICs NIC_AdapterIsDisable NIC_ChangeNicStatus
  NIC_GetMACAddress NIC_PropertyChange NIC_GetDHCPStatusfor9x NIC_OpenConfigMgr NIC_CloseConfigMgr
  NIC_SpecifyNicAdapter NIC_EnableDHCP NIC_EnableDHCP9x NIC_EnableStaticIP NIC_EnableStaticIP9x
  NIC_SetGateways NIC_EnableDNS NIC_SetAutoConfigDNS NIC_GetConfigDNS NIC_EnableDnsServer9x NIC_SetIpInfo
  NIC_GetNicIPAddress NIC_GetNicIPAddressDetail NIC_GetNicIPAddressInfo NIC_NicIpReleaseAddress
  NIC_NicIpRenewAddress NIC_GetNicErrorCode NIC_GetErrorMessage NIC_GetWindowsVersion)
set(Nicorra9x.dll ${Nicorra.dll})
set(KALWEP.DLL Wep_Init Wep_Encrypt Wep_Decrypt Wep_GenWepKeys)

set(failed FALSE)
foreach(path ${DLLS})
  get_filename_component(dll ${path} NAME)
  if(NOT DEFINED ${dll})
    message(SEND_ERROR "${dll}: no list of bound names")
    set(failed TRUE)
    continue()
  endif()
  execute_process(COMMAND ${OBJDUMP} -p ${path} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(SEND_ERROR "${dll}: objdump failed")
    set(failed TRUE)
    continue()
  endif()
  # The name table: lines "[   n] Name".
  string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" rows "${dump}")
  set(exported)
  foreach(row ${rows})
    string(REGEX REPLACE "^\\[ *[0-9]+\\] " "" name "${row}")
    list(APPEND exported "${name}")
  endforeach()
  set(absent)
  foreach(name ${${dll}})
    if(NOT name IN_LIST exported)
      list(APPEND absent ${name})
    endif()
  endforeach()
  if(absent)
    message(SEND_ERROR "${dll} does not export, undecorated: ${absent}")
    set(failed TRUE)
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "export check failed")
endif()
