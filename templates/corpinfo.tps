<?xml version="1.0" encoding="UTF-8"?>
<!-- The printable page of the unit information: an A4 form the heritage bureau accepts on
     paper. Every value is copied as escaped text; coded values show their list texts. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="UTF-8" doctype-system="about:legacy-compat" indent="yes"/>

  <xsl:template match="/">
    <xsl:apply-templates select="CorpInfo"/>
  </xsl:template>

  <xsl:template match="CorpInfo">
    <html lang="zh-CN">
      <head>
        <title><xsl:value-of select="normalize-space(Basic/Name)"/> 单位基本信息表</title>
        <style type="text/css">
@page { size: A4 portrait; margin: 16mm 15mm 18mm 15mm; }
* { box-sizing: border-box; }
html { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
body {
  margin: 0 auto; max-width: 180mm; color: #000; background: #fff;
  font-family: "SimSun", "Songti SC", "Noto Serif CJK SC", "WenQuanYi Micro Hei", serif;
  font-size: 10.5pt; line-height: 1.45;
}
h1 { margin: 0 0 4mm 0; text-align: center; font-size: 18pt; font-weight: bold; letter-spacing: 3pt; }
h2 { margin: 4mm 0 1.5mm 0; font-size: 12pt; font-weight: bold; break-after: avoid; page-break-after: avoid; }
table { width: 100%; border-collapse: collapse; table-layout: fixed; }
.form th, .form td { border: 0.75pt solid #000; padding: 1.1mm 2mm; vertical-align: middle; height: 7.2mm; }
.form th { background: #efefef; font-weight: normal; text-align: center; }
.form td { overflow-wrap: anywhere; word-break: break-word; }
.form tr { break-inside: avoid; page-break-inside: avoid; }
.form thead { display: table-header-group; }
.form th.group { background: #e4e4e4; }
.num { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
.form tr.long { break-inside: auto; page-break-inside: auto; }
.form td.text { white-space: pre-wrap; vertical-align: top; height: 24mm; text-align: left; }
.head { margin-bottom: 2mm; }
.head th, .head td { border: none; padding: 1mm 0; text-align: left; font-weight: normal; }
.head th { width: 21mm; white-space: nowrap; }
.head td { border-bottom: 0.75pt solid #000; padding-left: 1.5mm; }
.head td.gap, .head th.gap { border: none; width: 6mm; }
.section { break-inside: avoid; page-break-inside: avoid; }
.sign { margin-top: 8mm; break-inside: avoid; page-break-inside: avoid; }
.sign td { border: none; padding: 0; width: 50%; height: 12mm; vertical-align: bottom; }
@media screen { body { padding: 12mm 0; } }
        </style>
      </head>
      <body>
        <h1>文物保护单位基本信息表</h1>

        <table class="head">
          <tr>
            <th>单位编码：</th><td><xsl:value-of select="ReportInfo/CorpID"/></td>
            <th class="gap"></th>
            <th>单位名称：</th><td><xsl:value-of select="ReportInfo/CorpName"/></td>
          </tr>
          <tr>
            <th>填 报 人：</th><td><xsl:value-of select="ReportInfo/ReportUser"/></td>
            <th class="gap"></th>
            <th>填报日期：</th><td><xsl:value-of select="ReportInfo/ReportDate"/></td>
          </tr>
        </table>

        <div class="section">
        <h2>一、单位基本情况</h2>
        <table class="form">
          <colgroup><col style="width:17%"/><col style="width:33%"/><col style="width:17%"/><col style="width:33%"/></colgroup>
          <tr>
            <th>单位编码</th><td><xsl:value-of select="Basic/CorpID"/></td>
            <th>地区代码</th><td><xsl:value-of select="Basic/AreaCode"/></td>
          </tr>
          <tr><th>单位全称</th><td colspan="3"><xsl:value-of select="Basic/Name"/></td></tr>
          <tr><th>单位简称</th><td colspan="3"><xsl:value-of select="Basic/ShortName"/></td></tr>
          <tr><th>通讯地址</th><td colspan="3"><xsl:value-of select="Basic/Address"/></td></tr>
          <tr>
            <th>邮政编码</th><td><xsl:value-of select="Basic/PostCode"/></td>
            <th>电子邮件</th><td><xsl:value-of select="Basic/Email"/></td>
          </tr>
          <tr>
            <th>电话</th><td><xsl:value-of select="Basic/PhoneNo"/></td>
            <th>传真</th><td><xsl:value-of select="Basic/FaxNo"/></td>
          </tr>
          <tr>
            <th>单位类型</th>
            <td><xsl:call-template name="coded"><xsl:with-param name="node" select="Basic/Type"/><xsl:with-param name="list" select="'type'"/></xsl:call-template></td>
            <th>单位性质</th>
            <td><xsl:call-template name="coded"><xsl:with-param name="node" select="Basic/Class"/><xsl:with-param name="list" select="'class'"/></xsl:call-template></td>
          </tr>
          <tr>
            <th>单位风险等级</th>
            <td colspan="3"><xsl:call-template name="coded"><xsl:with-param name="node" select="Basic/Risc"/><xsl:with-param name="list" select="'risk'"/></xsl:call-template></td>
          </tr>
        </table>
        </div>

        <h2>二、单位藏品及重要出土文物保存情况</h2>
        <table class="form">
          <colgroup><col style="width:17%"/><col style="width:33%"/><col style="width:17%"/><col style="width:33%"/></colgroup>
          <tr>
            <th>库房面积</th><td class="num"><xsl:value-of select="Reserve/DepotArea"/></td>
            <th>文物总数</th><td class="num"><xsl:value-of select="Reserve/TotalItemNum"/></td>
          </tr>
        </table>
        <table class="form" style="margin-top:-0.75pt">
          <colgroup><col style="width:17%"/><col style="width:14%"/><col style="width:14%"/><col style="width:14%"/><col style="width:14%"/><col style="width:27%"/></colgroup>
          <thead>
            <tr>
              <th rowspan="2" class="group">类别</th><th rowspan="2" class="group">总数</th>
              <th colspan="3" class="group">其中</th><th rowspan="2" class="group">保护修复资金需求</th>
            </tr>
            <tr><th class="group">完好</th><th class="group">一般受损</th><th class="group">严重受损</th></tr>
          </thead>
          <tbody>
            <xsl:apply-templates select="Reserve/ItemDetail/FirstClassItem"><xsl:with-param name="name" select="'一级品'"/></xsl:apply-templates>
            <xsl:apply-templates select="Reserve/ItemDetail/SecondClassItem"><xsl:with-param name="name" select="'二级品'"/></xsl:apply-templates>
            <xsl:apply-templates select="Reserve/ItemDetail/ThirdClassItem"><xsl:with-param name="name" select="'三级品'"/></xsl:apply-templates>
            <xsl:apply-templates select="Reserve/ItemDetail/ValuableRelic"><xsl:with-param name="name" select="'重要出土文物'"/></xsl:apply-templates>
          </tbody>
        </table>
        <table class="form" style="margin-top:-0.75pt">
          <tr><th>藏品存放条件、损毁情况描述</th></tr>
          <tr class="long"><td class="text"><xsl:value-of select="Reserve/DamageDescription"/></td></tr>
        </table>

        <div class="section">
        <h2>三、单位文物安全情况</h2>
        <table class="form">
          <colgroup><col style="width:17%"/><col style="width:17%"/><col style="width:16%"/><col style="width:17%"/><col style="width:33%"/></colgroup>
          <tr>
            <th class="group">单位面积</th>
            <th>保护单位面积</th><td class="num"><xsl:value-of select="Security/AreaInfo/CorpArea"/></td>
            <th>保护范围面积</th><td class="num"><xsl:value-of select="Security/AreaInfo/ItemArea"/></td>
          </tr>
          <tr>
            <th class="group" rowspan="2">消防设施</th>
            <th>供水设施</th>
            <td><xsl:call-template name="coded"><xsl:with-param name="node" select="Security/FireProtect/WaterSupplyDeviceStatus"/></xsl:call-template></td>
            <th>报警设施</th>
            <td><xsl:call-template name="coded"><xsl:with-param name="node" select="Security/FireProtect/AlarmDeviceStatus"/></xsl:call-template></td>
          </tr>
          <tr>
            <th>防雷设施</th>
            <td colspan="3"><xsl:call-template name="coded"><xsl:with-param name="node" select="Security/FireProtect/LightingDeviceStatus"/></xsl:call-template></td>
          </tr>
          <tr>
            <th class="group" colspan="2">技防设施</th>
            <td><xsl:call-template name="coded"><xsl:with-param name="node" select="Security/SecurityDeviceStatus"/></xsl:call-template></td>
            <th>文物保存设备</th>
            <td><xsl:call-template name="coded"><xsl:with-param name="node" select="Security/StoreDeviceStatus"/></xsl:call-template></td>
          </tr>
          <tr>
            <th class="group">文物被盗情况</th>
            <th>文物被盗次数</th><td class="num"><xsl:value-of select="Security/StolenInfo/StolenTimes"/></td>
            <th>被盗文物数量</th><td class="num"><xsl:value-of select="Security/StolenInfo/StolenItemNum"/></td>
          </tr>
        </table>
        </div>

        <div class="section">
        <h2>四、单位文物保护设施建设情况</h2>
        <table class="form">
          <colgroup><col style="width:17%"/><col style="width:17%"/><col style="width:16%"/><col style="width:17%"/><col style="width:33%"/></colgroup>
          <tr>
            <th class="group">库房情况</th>
            <th>消防、技防设施</th>
            <td><xsl:call-template name="coded"><xsl:with-param name="node" select="Construction/Depot/FireSecurityDeviceStatus"/></xsl:call-template></td>
            <th>文物保存设备</th>
            <td><xsl:call-template name="coded"><xsl:with-param name="node" select="Construction/Depot/RelicProtectionDeviceStatus"/></xsl:call-template></td>
          </tr>
          <tr>
            <th class="group" rowspan="2">大遗址保护设施建设情况</th>
            <th>总面积</th><td class="num"><xsl:value-of select="Construction/GreatSite/TotalArea"/></td>
            <th>重点保护区面积</th><td class="num"><xsl:value-of select="Construction/GreatSite/CoreArea"/></td>
          </tr>
          <tr>
            <th>遗址年代</th><td><xsl:value-of select="Construction/GreatSite/RelicAge"/></td>
            <th>遗址类型</th><td><xsl:value-of select="Construction/GreatSite/RelicType"/></td>
          </tr>
        </table>
        </div>

        <table class="sign">
          <tr><td>单位负责人（签字）：</td><td>填报单位（盖章）：</td></tr>
        </table>
      </body>
    </html>
  </xsl:template>

  <!-- One holding class: its counts and its fund demand. -->
  <xsl:template match="FirstClassItem|SecondClassItem|ThirdClassItem|ValuableRelic">
    <xsl:param name="name"/>
    <tr>
      <th><xsl:value-of select="$name"/></th>
      <td class="num"><xsl:value-of select="TotalNum"/></td>
      <td class="num"><xsl:value-of select="DetailNum/GoodNum"/></td>
      <td class="num"><xsl:value-of select="DetailNum/SlightDamagedNum"/></td>
      <td class="num"><xsl:value-of select="DetailNum/SevereDamagedNum"/></td>
      <td class="num"><xsl:value-of select="FundDemand"/></td>
    </tr>
  </xsl:template>

  <!-- The text of a coded value: the list's own text for a known code, else what the
       document recorded beside the code, else the code itself. -->
  <xsl:template name="coded">
    <xsl:param name="node"/>
    <xsl:param name="list" select="'state'"/>
    <xsl:variable name="code" select="number($node)"/>
    <xsl:variable name="text">
      <xsl:choose>
        <xsl:when test="$list = 'type'">
          <xsl:choose>
            <xsl:when test="$code = 10">古建、石窟、近现代建筑</xsl:when>
            <xsl:when test="$code = 20">遗址、墓葬</xsl:when>
            <xsl:when test="$code = 30">博物馆</xsl:when>
            <xsl:when test="$code = 40">文物库房</xsl:when>
            <xsl:when test="$code = 50">其他</xsl:when>
          </xsl:choose>
        </xsl:when>
        <xsl:when test="$list = 'class'">
          <xsl:choose>
            <xsl:when test="$code = 11">全国重点文物保护单位</xsl:when>
            <xsl:when test="$code = 12">拟申报全国重点文物保护单位</xsl:when>
            <xsl:when test="$code = 13">省级文物保护单位</xsl:when>
            <xsl:when test="$code = 14">地、市级文物保护单位</xsl:when>
            <xsl:when test="$code = 15">县级文物保护单位</xsl:when>
            <xsl:when test="$code = 20">重点博物馆</xsl:when>
            <xsl:when test="$code = 21">省级博物馆</xsl:when>
            <xsl:when test="$code = 22">市和县级博物馆</xsl:when>
            <xsl:when test="$code = 23">文物中心库房</xsl:when>
            <xsl:when test="$code = 90">其他</xsl:when>
          </xsl:choose>
        </xsl:when>
        <xsl:when test="$list = 'risk'">
          <xsl:choose>
            <xsl:when test="$code = 10">一级风险单位</xsl:when>
            <xsl:when test="$code = 20">二级风险单位</xsl:when>
            <xsl:when test="$code = 90">其他</xsl:when>
          </xsl:choose>
        </xsl:when>
        <xsl:otherwise>
          <xsl:choose>
            <xsl:when test="$code = 3">完善</xsl:when>
            <xsl:when test="$code = 2">较完善</xsl:when>
            <xsl:when test="$code = 1">不完善</xsl:when>
            <xsl:when test="$code = 0">无</xsl:when>
          </xsl:choose>
        </xsl:otherwise>
      </xsl:choose>
    </xsl:variable>
    <xsl:choose>
      <xsl:when test="string($text) != ''"><xsl:value-of select="$text"/></xsl:when>
      <xsl:when test="normalize-space($node/@dict) != ''"><xsl:value-of select="normalize-space($node/@dict)"/></xsl:when>
      <xsl:otherwise><xsl:value-of select="normalize-space($node)"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>
</xsl:stylesheet>
