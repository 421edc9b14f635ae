<?xml version="1.0" encoding="UTF-8"?>
<Report>ฒโสิ</Report>